// JPEG, PNG and TIFF through the Windows Imaging Component. The pictures are
// made here with the component's own encoders, so every expected pixel is
// known.

#include "hosts/win32/wic_decoder.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <wincodec.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "hosts/win32/com_ref.h"
#include "hosts/win32/win32_host.h"
#include "imaging/picture_decoding.h"

namespace pictavo::platform::win32 {
namespace {

using imaging::Image;
using imaging::rgb;

class Apartment {
  public:
    Apartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Apartment() { CoUninitialize(); }
};

// The picture in a file of the given container format, as the system writes it.
std::vector<uint8_t> encode(const GUID& container, const Image& image) {
    ComRef<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(factory.put()));
    ComRef<IWICBitmap> bitmap;
    ComRef<IStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    const UINT stride = static_cast<UINT>(image.width) * 4;
    bool ok = factory &&
              SUCCEEDED(factory->CreateBitmapFromMemory(
                  static_cast<UINT>(image.width), static_cast<UINT>(image.height),
                  GUID_WICPixelFormat32bppBGRA, stride, stride * static_cast<UINT>(image.height),
                  reinterpret_cast<BYTE*>(const_cast<imaging::Pixel*>(image.pixels.data())),
                  bitmap.put())) &&
              SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) &&
              SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.put())) &&
              SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(frame.put(), options.put())) &&
              SUCCEEDED(frame->Initialize(options.get())) &&
              SUCCEEDED(frame->WriteSource(bitmap.get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
              SUCCEEDED(encoder->Commit());
    if (!ok) return {};
    HGLOBAL memory = nullptr;
    GetHGlobalFromStream(stream.get(), &memory);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    auto* data = static_cast<const uint8_t*>(GlobalLock(memory));
    std::vector<uint8_t> bytes(data, data + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return bytes;
}

// A JPEG whose EXIF block says how the camera was held.
std::vector<uint8_t> withOrientation(std::vector<uint8_t> jpeg, uint16_t orientation) {
    const std::vector<uint8_t> app1 = {0xFF,
                                       0xE1,
                                       0x00,
                                       34,  // APP1 and its length
                                       'E',
                                       'x',
                                       'i',
                                       'f',
                                       0,
                                       0,
                                       'I',
                                       'I',
                                       42,
                                       0,
                                       8,
                                       0,
                                       0,
                                       0,  // little-endian TIFF, first IFD at 8
                                       1,
                                       0,  // one entry:
                                       0x12,
                                       0x01,
                                       3,
                                       0,
                                       1,
                                       0,
                                       0,
                                       0,  // orientation, SHORT, count 1
                                       static_cast<uint8_t>(orientation),
                                       0,
                                       0,
                                       0,
                                       0,
                                       0,
                                       0,
                                       0};  // no next IFD
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

// Left half red, right half blue.
Image halves(int width, int height) {
    Image image(width, height, rgb(0, 0, 255));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x) image.at(x, y) = rgb(255, 0, 0);
    return image;
}

bool looksLike(imaging::Pixel a, imaging::Pixel b, int tolerance = 24) {
    return std::abs(imaging::red(a) - imaging::red(b)) <= tolerance &&
           std::abs(imaging::green(a) - imaging::green(b)) <= tolerance &&
           std::abs(imaging::blue(a) - imaging::blue(b)) <= tolerance;
}

class WicDecoderTest : public ::testing::Test {
  protected:
    const imaging::Decoder& decoder(std::string_view name) {
        for (const auto& decoder : decoders_)
            if (decoder->name() == name) return *decoder;
        throw std::runtime_error("no decoder");
    }
    Result<Image> decode(std::string_view name, const std::vector<uint8_t>& bytes,
                         const imaging::Target& target = {}) {
        return decoder(name).decode({bytes, "picture", target});
    }

    Apartment apartment_;
    imaging::DecoderList decoders_ = wicDecoders();
};

TEST_F(WicDecoderTest, PngAndTiffComeBackPixelForPixel) {
    ASSERT_EQ(decoders_.size(), 3u);
    Image picture(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            picture.at(x, y) = rgb(static_cast<uint8_t>(x * 36), static_cast<uint8_t>(y * 60), 99);
    for (auto [name, container] : {std::pair{"PNG", &GUID_ContainerFormatPng},
                                   std::pair{"TIFF", &GUID_ContainerFormatTiff}}) {
        std::vector<uint8_t> bytes = encode(*container, picture);
        ASSERT_FALSE(bytes.empty()) << name;
        auto decoded = decode(name, bytes);
        ASSERT_TRUE(decoded.ok()) << name << ": " << decoded.error().message;
        EXPECT_EQ(decoded->width, 7) << name;
        EXPECT_EQ(decoded->height, 5) << name;
        EXPECT_EQ(decoded->pixels, picture.pixels) << name;
        EXPECT_EQ(decoded->sourceBits, 24) << name;  // true colour, whatever the channels
    }
}

TEST_F(WicDecoderTest, JpegDecodesCloseToThePicture) {
    auto decoded = decode("JPEG", encode(GUID_ContainerFormatJpeg, halves(32, 16)));
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    EXPECT_EQ(decoded->width, 32);
    EXPECT_EQ(decoded->height, 16);
    EXPECT_TRUE(looksLike(decoded->at(4, 8), rgb(255, 0, 0)));
    EXPECT_TRUE(looksLike(decoded->at(27, 8), rgb(0, 0, 255)));
    EXPECT_EQ(decoded->sourceBits, 24);
}

TEST_F(WicDecoderTest, PhotosTakenTurnedComeOutUpright) {
    std::vector<uint8_t> jpeg = encode(GUID_ContainerFormatJpeg, halves(32, 16));
    ASSERT_FALSE(jpeg.empty());
    // 6: the camera was turned clockwise; the stored left half is the top.
    auto turned = decode("JPEG", withOrientation(jpeg, 6));
    ASSERT_TRUE(turned.ok()) << turned.error().message;
    ASSERT_EQ(turned->width, 16);
    ASSERT_EQ(turned->height, 32);
    EXPECT_TRUE(looksLike(turned->at(8, 4), rgb(255, 0, 0)));
    EXPECT_TRUE(looksLike(turned->at(8, 27), rgb(0, 0, 255)));
    // 3: upside down; red is on the right.
    auto upsideDown = decode("JPEG", withOrientation(jpeg, 3));
    ASSERT_TRUE(upsideDown.ok());
    ASSERT_EQ(upsideDown->width, 32);
    EXPECT_TRUE(looksLike(upsideDown->at(27, 8), rgb(255, 0, 0)));
    // A value outside 1..8 leaves it as stored.
    auto odd = decode("JPEG", withOrientation(jpeg, 9));
    ASSERT_TRUE(odd.ok());
    EXPECT_EQ(odd->width, 32);
    EXPECT_TRUE(looksLike(odd->at(4, 8), rgb(255, 0, 0)));
}

TEST_F(WicDecoderTest, AJpegShownSmallerMayDecodeAtAReducedScaleThatStillCoversIt) {
    std::vector<uint8_t> jpeg = encode(GUID_ContainerFormatJpeg, halves(64, 48));
    auto reduced = decode("JPEG", jpeg, imaging::Target::atLeast(16, 12));
    ASSERT_TRUE(reduced.ok()) << reduced.error().message;
    EXPECT_GE(reduced->width, 16);
    EXPECT_GE(reduced->height, 12);
    EXPECT_LT(reduced->width, 64);
    EXPECT_EQ(reduced->pictureWidth(), 64);  // still the whole picture's size
    EXPECT_EQ(reduced->pictureHeight(), 48);
    EXPECT_TRUE(looksLike(reduced->at(1, reduced->height / 2), rgb(255, 0, 0)));
    // A target as big as the picture keeps every pixel.
    auto full = decode("JPEG", jpeg, imaging::Target::atLeast(64, 48));
    ASSERT_TRUE(full.ok());
    EXPECT_EQ(full->width, 64);
    // Stretched, it comes at exactly the size it is shown.
    auto stretched = decode("JPEG", jpeg, imaging::Target::stretch(20, 30));
    ASSERT_TRUE(stretched.ok()) << stretched.error().message;
    EXPECT_EQ(stretched->width, 20);
    EXPECT_EQ(stretched->height, 30);
    EXPECT_EQ(stretched->pictureWidth(), 64);
    EXPECT_TRUE(looksLike(stretched->at(1, 15), rgb(255, 0, 0)));
}

TEST_F(WicDecoderTest, OfACentredPictureOnlyThePartOnScreenIsKept) {
    Image picture(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            picture.at(x, y) = rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 5);
    auto window =
        decode("PNG", encode(GUID_ContainerFormatPng, picture), imaging::Target::centre(32, 24));
    ASSERT_TRUE(window.ok()) << window.error().message;
    EXPECT_EQ(window->width, 32);
    EXPECT_EQ(window->height, 24);
    EXPECT_EQ(window->originX, 16);
    EXPECT_EQ(window->originY, 12);
    EXPECT_EQ(window->pictureWidth(), 64);
    EXPECT_EQ(window->at(0, 0), rgb(16, 12, 5));
    // A centred JPEG keeps its own scale.
    auto jpeg = decode("JPEG", encode(GUID_ContainerFormatJpeg, halves(64, 48)),
                       imaging::Target::centre(16, 12));
    ASSERT_TRUE(jpeg.ok());
    EXPECT_EQ(jpeg->pictureWidth(), 64);
    EXPECT_EQ(jpeg->width, 16);
}

TEST_F(WicDecoderTest, EachDecoderKnowsOnlyItsOwnSignature) {
    std::vector<uint8_t> png = encode(GUID_ContainerFormatPng, halves(4, 4));
    std::vector<uint8_t> jpeg = encode(GUID_ContainerFormatJpeg, halves(8, 8));
    std::vector<uint8_t> tiff = encode(GUID_ContainerFormatTiff, halves(4, 4));
    using imaging::Confidence;
    EXPECT_EQ(decoder("PNG").sniff(png, "x.jpg"), Confidence::Strong);
    EXPECT_EQ(decoder("PNG").sniff(jpeg, "x.png"), Confidence::None);
    EXPECT_EQ(decoder("JPEG").sniff(jpeg, ""), Confidence::Strong);
    EXPECT_EQ(decoder("JPEG").sniff(tiff, ""), Confidence::None);
    EXPECT_EQ(decoder("TIFF").sniff(tiff, ""), Confidence::Strong);
    EXPECT_EQ(decoder("TIFF").sniff(std::vector<uint8_t>{'I', 'I'}, ""), Confidence::None);
}

TEST_F(WicDecoderTest, DamagedFilesGiveAnErrorTheSlideCanPrint) {
    std::vector<uint8_t> png = encode(GUID_ContainerFormatPng, halves(40, 40));
    ASSERT_GT(png.size(), 100u);
    std::vector<uint8_t> cut(png.begin(), png.begin() + static_cast<long>(png.size() / 2));
    auto truncated = decode("PNG", cut);
    ASSERT_FALSE(truncated.ok());
    EXPECT_FALSE(truncated.error().message.empty());

    std::vector<uint8_t> garbage = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 1, 2, 3, 4};
    auto damaged = decode("PNG", garbage);
    ASSERT_FALSE(damaged.ok());
    const std::string& message = damaged.error().message;
    EXPECT_TRUE(message == "file is truncated" || message.rfind("invalid PNG file: ", 0) == 0)
        << message;
}

TEST_F(WicDecoderTest, TheSlidesDecodingReadsTheSystemFormatsThroughThem) {
    const auto decoders = imaging::pictureDecoders(wicDecoders());
    std::vector<uint8_t> png = encode(GUID_ContainerFormatPng, halves(6, 2));
    auto decoded =
        imaging::decodePicture({.decoders = *decoders, .fileName = "misnamed.bmp", .bytes = png});
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->pictureWidth(), 6);
    EXPECT_EQ(decoded->at(0, 0), rgb(255, 0, 0));
}

// The slide show decodes on a thread of its own: the host gives that thread
// COM, and the component decodes there.
TEST_F(WicDecoderTest, ADecodingThreadOfTheHostDecodesThroughTheComponent) {
    const std::vector<uint8_t> png = encode(GUID_ContainerFormatPng, halves(6, 2));
    Win32Host host;
    size_t decoders = 0;
    Result<void> loaded = makeError("not run");
    int width = 0;
    std::thread decoding([&] {
        auto scope = host.enterDecodingThread();
        const auto all = imaging::pictureDecoders(host.platformDecoders());
        decoders = host.platformDecoders().size();
        auto decoded =
            imaging::decodePicture({.decoders = *all, .fileName = "p.png", .bytes = png});
        if (decoded) width = decoded->pictureWidth();
        loaded = decoded ? Result<void>{} : Result<void>(decoded.error());
    });
    decoding.join();
    EXPECT_EQ(decoders, 3u);
    ASSERT_TRUE(loaded) << loaded.error().message;
    EXPECT_EQ(width, 6);
}

TEST(Win32Loop, AWaitForADistantDeadlineEndsWhenAnotherThreadWakesIt) {
    Win32Host host;
    auto& loop = host.eventLoop();
    std::thread waker([&loop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        loop.wake();
    });
    const auto started = std::chrono::steady_clock::now();
    loop.waitForEvents(host.clock().nowMicros() + 20'000'000);
    waker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

}  // namespace
}  // namespace pictavo::platform::win32
