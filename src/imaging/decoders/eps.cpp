#include "imaging/decoders/eps.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "imaging/byte_reader.h"
#include "imaging/decoders/wmf.h"
#include "imaging/errors.h"
#include "imaging/vector/picture_size.h"

namespace pictavo::imaging {

namespace {

constexpr uint32_t kDosBinaryMagic = 0xC6D3D0C5;
constexpr size_t kDosHeaderSize = 30;
// The DSC comments that matter sit at the start, or at the end after "(atend)".
constexpr size_t kCommentWindow = 64 * 1024;

std::string_view asText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::span<const uint8_t> section(std::span<const uint8_t> bytes, uint32_t offset, uint32_t length) {
    if (length == 0 || offset >= bytes.size()) return {};
    return bytes.subspan(offset, std::min<size_t>(length, bytes.size() - offset));
}

// "%%BoundingBox: 0 0 72 48" -> the box, when all four numbers read.
std::optional<BoundingBox> parseBox(std::string_view text) {
    double values[4];
    for (double& value : values) {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc{} || !std::isfinite(value)) return std::nullopt;
        text.remove_prefix(static_cast<size_t>(end - text.data()));
    }
    BoundingBox box{values[0], values[1], values[2], values[3]};
    if (!(box.width() > 0) || !(box.height() > 0)) return std::nullopt;
    return box;
}

std::optional<BoundingBox> findComment(std::string_view text, std::string_view name) {
    size_t at = 0;
    std::optional<BoundingBox> found;
    while ((at = text.find(name, at)) != std::string_view::npos) {
        // Only at the start of a line.
        if (at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r') {
            const size_t end = text.find_first_of("\r\n", at);
            const auto value = text.substr(at + name.size(), end == std::string_view::npos
                                                                 ? std::string_view::npos
                                                                 : end - at - name.size());
            if (auto box = parseBox(value)) return box;
        }
        at += name.size();
    }
    return found;
}

// Smooth enough for a preview scaled to its bounding box: bilinear. The
// canvas of view is drawn: the box's picture, or a part or a scale of it.
Image resize(const Image& source, const vector::View& view) {
    const int width = view.canvas.width;
    const int height = view.canvas.height;
    Image result(width, height);
    const double sx = static_cast<double>(source.width) / view.drawing.width;
    const double sy = static_cast<double>(source.height) / view.drawing.height;
    auto inDrawing = [&](int canvas, double origin) {
        return view.identity() ? canvas : origin + (canvas + 0.5) / view.scale - 0.5;
    };
    for (int y = 0; y < height; ++y) {
        const double fy =
            std::clamp((inDrawing(y, view.top) + 0.5) * sy - 0.5, 0.0, source.height - 1.0);
        const int y0 = static_cast<int>(fy);
        const int y1 = std::min(y0 + 1, source.height - 1);
        const double wy = fy - y0;
        for (int x = 0; x < width; ++x) {
            const double fx =
                std::clamp((inDrawing(x, view.left) + 0.5) * sx - 0.5, 0.0, source.width - 1.0);
            const int x0 = static_cast<int>(fx);
            const int x1 = std::min(x0 + 1, source.width - 1);
            const double wx = fx - x0;
            auto mix = [&](int shift) {
                auto c = [&](int px, int py) {
                    return static_cast<double>((source.at(px, py) >> shift) & 0xFF);
                };
                const double top = c(x0, y0) * (1 - wx) + c(x1, y0) * wx;
                const double bottom = c(x0, y1) * (1 - wx) + c(x1, y1) * wx;
                return static_cast<uint32_t>(std::lround(top * (1 - wy) + bottom * wy)) << shift;
            };
            result.at(x, y) = 0xFF000000u | mix(16) | mix(8) | mix(0);
        }
    }
    result.sourceBits = source.sourceBits;
    return result;
}

// The part of the box the canvas of view shows, in points: the whole box
// for a scaled canvas, the window's part of it for a window.
BoundingBox shownPart(const BoundingBox& box, const vector::View& view) {
    if (view.scale != 1) return box;
    const double across = box.width() / view.drawing.width;
    const double down = box.height() / view.drawing.height;
    BoundingBox part;
    part.left = box.left + view.left * across;
    part.right = part.left + view.canvas.width * across;
    part.top = box.top - view.top * down;
    part.bottom = part.top - view.canvas.height * down;
    return part;
}

class EpsDecoder final : public Decoder {
  public:
    EpsDecoder(std::shared_ptr<const PostScriptRenderer> renderer, const DecoderList* previews)
        : renderer_(std::move(renderer)), previews_(previews) {}

    std::string_view name() const override { return "EPS"; }

    Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        if (ByteReader(bytes).u32() == kDosBinaryMagic) return Confidence::Strong;
        const std::string_view head = asText(bytes.first(std::min<size_t>(bytes.size(), 40)));
        if (head.starts_with("%!PS-Adobe-")) {
            const size_t end = head.find_first_of("\r\n");
            return head.substr(0, end).find("EPSF") != std::string_view::npos ? Confidence::Strong
                                                                              : Confidence::Weak;
        }
        return head.starts_with("%!") ? Confidence::Weak : Confidence::None;
    }

    // Read whole before Ghostscript sees it, as any drawing, and no bigger:
    // Ghostscript has the two seconds of a slide, and more PostScript
    // could not be drawn in that time anyway (279 MiB of comments took it
    // ten seconds only to read).
    uint64_t largestWholeFile(std::span<const uint8_t>) const override {
        return kMaxWholeFileBytes;
    }

    Result<Image> decode(const DecodeRequest& request) const override {
        auto sections = splitEps(request.bytes);
        if (!sections) return sections.error();
        const auto box = findBoundingBox(sections->postScript);
        if (!box) return invalidFile("EPS", "no bounding box");
        auto size = vector::sizeFromInches(box->width() / 72, box->height() / 72, request.target);
        if (!size) return size.error();
        // Drawn at the size it is shown, or the window of it that shows.
        auto view = vector::planCanvas(*size, request.target);
        if (!view) return view.error();
        if (renderer_ && renderer_->available()) {
            auto drawn = renderer_->renderPostScript(sections->postScript, view->canvas.width,
                                                     view->canvas.height, shownPart(*box, *view),
                                                     *request.work);
            if (!drawn) return drawn.error();
            return vector::drawnPicture(std::move(drawn).value(), *view);
        }
        if (auto preview = decodePreview(*sections, request.work))
            return vector::drawnPicture(resize(*preview, *view), *view);
        if (request.work->stopped()) return request.work->stopError();
        return makeError("EPS needs Ghostscript, and the file has no preview");
    }

  private:
    // The preview counts against the EPS file's own meter.
    std::optional<Image> decodePreview(const EpsSections& sections,
                                       const std::shared_ptr<WorkMeter>& work) const {
        if (!sections.tiffPreview.empty() && previews_) {
            for (const auto& decoder : *previews_) {
                if (decoder.get() == this ||
                    decoder->sniff(sections.tiffPreview, "preview.tif") == Confidence::None) {
                    continue;
                }
                auto image = decoder->decode({sections.tiffPreview, "preview.tif", {}, work});
                if (image) return std::move(image.value());
            }
        }
        if (!sections.wmfPreview.empty()) {
            auto image = decodeWmf(sections.wmfPreview, 0, 0, *work);
            if (image) return std::move(image.value());
        }
        return std::nullopt;
    }

    std::shared_ptr<const PostScriptRenderer> renderer_;
    const DecoderList* previews_;
};

}  // namespace

Result<EpsSections> splitEps(std::span<const uint8_t> bytes) {
    ByteReader in(bytes);
    if (in.u32() != kDosBinaryMagic) return EpsSections{bytes, {}, {}};
    const uint32_t psOffset = in.u32();
    const uint32_t psLength = in.u32();
    const uint32_t wmfOffset = in.u32();
    const uint32_t wmfLength = in.u32();
    const uint32_t tiffOffset = in.u32();
    const uint32_t tiffLength = in.u32();
    if (in.failed() || bytes.size() < kDosHeaderSize) return fileTruncated();
    EpsSections sections{section(bytes, psOffset, psLength), section(bytes, wmfOffset, wmfLength),
                         section(bytes, tiffOffset, tiffLength)};
    if (sections.postScript.empty()) return invalidFile("EPS", "no PostScript section");
    return sections;
}

std::optional<BoundingBox> findBoundingBox(std::span<const uint8_t> postScript) {
    const std::string_view text = asText(postScript);
    const std::string_view head = text.substr(0, kCommentWindow);
    const std::string_view tail =
        text.size() > kCommentWindow ? text.substr(text.size() - kCommentWindow) : text;
    for (const std::string_view part : {head, tail}) {
        if (auto box = findComment(part, "%%HiResBoundingBox:")) return box;
        if (auto box = findComment(part, "%%BoundingBox:")) return box;
    }
    return std::nullopt;
}

std::unique_ptr<Decoder> makeEpsDecoder(std::shared_ptr<const PostScriptRenderer> renderer,
                                        const DecoderList* previewDecoders) {
    return std::make_unique<EpsDecoder>(std::move(renderer), previewDecoders);
}

}  // namespace pictavo::imaging
