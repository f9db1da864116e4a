// pictavo-render slide FILE --size WxH [--stretch] [--out OUT.png]: the
// staged picture of the slide window after FILE has been placed on a screen
// of that size, or after the error line when it fails (exit status 1).

#include <filesystem>
#include <iostream>

#include "app/render/arguments.h"
#include "app/render/commands.h"
#include "app/render/png_writer.h"
#include "common/numbers.h"
#include "hosts/headless/headless_host.h"
#include "imaging/picture_decoding.h"
#include "slideshow/picture_loader.h"
#include "slideshow/slide_window.h"
#include "startup/main.h"

namespace pictavo::render {

namespace {

class NoReactions : public platform::FormHandler {
  public:
    void onEvent(platform::Form&, platform::Event&) override {}
};

}  // namespace

int runSlideCommand(const std::vector<std::string>& args, const RenderServices& services) {
    auto parsed = readCommandArgs(args, {.positional = "FILE",
                                         .valueOptions = {"--size", "--out"},
                                         .flags = {"--stretch"},
                                         .required = {{"--size", "WxH"}}});
    if (!parsed) return badArguments("slide", parsed.error().message);
    auto read = parsed->size("--size");
    if (!read) return badArguments("slide", read.error().message);
    const PixelSize* size = &**read;

    platform::headless::HeadlessHost host;
    if (services.decoders) host.setDecoderSource(services.decoders);
    host.setPostScriptRenderer(services.postScript);
    host.screen().setPixels(size->width, size->height);
    SaverState state;
    measureScreen(host.screen(), state);
    std::filesystem::path file(parsed->positional[0]);
    std::string folder = file.parent_path().string();
    state.PicturePath = folder.empty() ? std::string{} : folder + host.files().separator();
    state.Stretch = parsed->has("--stretch") ? 1 : 0;

    NoReactions noReactions;
    auto frmSS = host.forms().create(slideshow::SlideWindow::layout(), noReactions, nullptr);
    platform::Control& picture1 = frmSS->control("Picture1");
    picture1.move(
        {0, 0, toInt32(host.screen().widthTwips()), toInt32(host.screen().heightTwips())});
    const auto decoders =
        imaging::pictureDecoders(host.platformDecoders(), host.postScriptRenderer());

    slideshow::PictureLoader loader(host.screen());
    std::string name = file.filename().string();
    auto placed = loader.place(*decoders, host.files(), name, picture1, state);
    if (placed) {
        std::cout << file.string() << ": " << placed->width << " x " << placed->height << "\n";
    } else {
        platform::Font font = slideshow::stagedFont();
        slideshow::printStagedLine(
            *picture1.surface(), font, slideshow::kLoadErrorPoints,
            slideshow::loadErrorLine(placed.error().message, state.PicturePath, name));
        std::cerr << "pictavo-render slide: " << file.string() << ": " << placed.error().message
                  << "\n";
    }
    if (auto out = parsed->values.find("--out"); out != parsed->values.end()) {
        if (auto written = writePng(out->second, picture1.surface()->snapshot()); !written) {
            std::cerr << "pictavo-render slide: " << written.error().message << "\n";
            return 1;
        }
    }
    return placed ? 0 : 1;
}

}  // namespace pictavo::render
