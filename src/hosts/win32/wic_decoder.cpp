#include "hosts/win32/wic_decoder.h"

#include <windows.h>
// The imaging component's GUIDs are defined in this file, and only here.
#include <initguid.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "hosts/win32/com_ref.h"
#include "hosts/win32/photo_orientation.h"
#include "hosts/win32/system_error.h"
#include "hosts/win32/wic_decoder_stream.h"
#include "imaging/errors.h"
#include "imaging/limits.h"
#include "imaging/orientation.h"
#include "imaging/picture_sink.h"

namespace pictavo::platform::win32 {

namespace {

using imaging::Confidence;
using imaging::Image;
using imaging::Orientation;

constexpr int kTrueColourBits = 24;

struct Format {
    std::string_view name;
    const GUID* container;
    // Where the format keeps the photo's orientation; nullptr when it keeps none.
    const wchar_t* orientationQuery;
    // Whether a picture shown smaller may be decoded at a reduced scale.
    bool reducedScale;
    std::span<const std::string_view> extensions;
    bool (*hasSignature)(std::span<const uint8_t> bytes);
};

bool startsWith(std::span<const uint8_t> bytes, std::initializer_list<uint8_t> signature) {
    return bytes.size() >= signature.size() &&
           std::equal(signature.begin(), signature.end(), bytes.begin());
}

bool isJpeg(std::span<const uint8_t> bytes) {
    return startsWith(bytes, {0xFF, 0xD8, 0xFF});
}
bool isPng(std::span<const uint8_t> bytes) {
    return startsWith(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
}
bool isTiff(std::span<const uint8_t> bytes) {
    return startsWith(bytes, {'I', 'I', 42, 0}) || startsWith(bytes, {'M', 'M', 0, 42});
}

constexpr std::string_view kJpegExtensions[] = {"jpg", "jpeg", "jpe", "jfif"};
constexpr std::string_view kPngExtensions[] = {"png"};
constexpr std::string_view kTiffExtensions[] = {"tif", "tiff"};

const Format kFormats[] = {
    {"JPEG", &GUID_ContainerFormatJpeg, L"/app1/ifd/{ushort=274}", true, kJpegExtensions, isJpeg},
    {"PNG", &GUID_ContainerFormatPng, nullptr, false, kPngExtensions, isPng},
    {"TIFF", &GUID_ContainerFormatTiff, L"/ifd/{ushort=274}", false, kTiffExtensions, isTiff},
};

// The words the user reads on the slide for a picture the component refused.
Error describe(std::string_view format, HRESULT result) {
    switch (result) {
        case WINCODEC_ERR_STREAMREAD:
        case WINCODEC_ERR_STREAMNOTAVAILABLE:
        case HRESULT_FROM_WIN32(ERROR_HANDLE_EOF):
            return imaging::fileTruncated();
        case E_OUTOFMEMORY:
            return makeError("not enough memory");
        default:
            break;
    }
    std::string text = systemErrorText(static_cast<uint32_t>(result));
    if (text.empty()) {
        char code[16];
        std::snprintf(code, sizeof code, "error %08lX", static_cast<unsigned long>(result));
        text = code;
    }
    return imaging::invalidFile(format, text);
}

// The smallest scale of n/8 that still covers the target, as a JPEG
// decoder can decode directly; 8 is the full size.
int scaleEighths(UINT width, UINT height, int targetWidth, int targetHeight) {
    for (int eighths = 1; eighths < 8; ++eighths) {
        int64_t w = (int64_t{width} * eighths + 7) / 8;
        int64_t h = (int64_t{height} * eighths + 7) / 8;
        if (w >= targetWidth && h >= targetHeight) return eighths;
    }
    return 8;
}

// Rows are copied from the component a band at a time, this many bytes at most.
constexpr UINT kBandBytes = 4u << 20;

class WicDecoder final : public imaging::Decoder {
  public:
    WicDecoder(ComRef<IWICImagingFactory> factory, const Format& format)
        : factory_(std::move(factory)), format_(format) {}

    std::string_view name() const override { return format_.name; }
    Confidence sniff(std::span<const uint8_t> bytes, std::string_view) const override {
        return format_.hasSignature(bytes) ? Confidence::Strong : Confidence::None;
    }
    std::span<const std::string_view> extensions() const override { return format_.extensions; }
    bool readsInPieces() const override { return true; }
    Result<Image> decode(const imaging::DecodeRequest& request) const override;

  private:
    Result<ComRef<IWICBitmapFrameDecode>> firstFrame(IStream& stream,
                                                     ComRef<IWICBitmapDecoder>& decoder) const;
    int storedBits(IWICBitmapFrameDecode& frame) const;
    int orientation(IWICBitmapFrameDecode& frame, std::span<const uint8_t> bytes) const;
    Result<Image> pixels(IWICBitmapSource& source, imaging::PictureSink::Layout layout,
                         const imaging::Target& target) const;

    ComRef<IWICImagingFactory> factory_;
    const Format& format_;
};

Result<ComRef<IWICBitmapFrameDecode>> WicDecoder::firstFrame(
    IStream& stream, ComRef<IWICBitmapDecoder>& decoder) const {
    HRESULT result = factory_->CreateDecoder(*format_.container, nullptr, decoder.put());
    if (FAILED(result)) return imaging::unsupportedFormat();
    result = decoder->Initialize(&stream, WICDecodeMetadataCacheOnDemand);
    ComRef<IWICBitmapFrameDecode> frame;
    if (SUCCEEDED(result)) result = decoder->GetFrame(0, frame.put());
    if (FAILED(result)) return describe(format_.name, result);
    return frame;
}

// The bits per pixel the file stores, for the codec's colour count.
int WicDecoder::storedBits(IWICBitmapFrameDecode& frame) const {
    WICPixelFormatGUID stored{};
    ComRef<IWICComponentInfo> info;
    ComRef<IWICPixelFormatInfo> pixelInfo;
    UINT bits = kTrueColourBits;
    if (SUCCEEDED(frame.GetPixelFormat(&stored)) &&
        SUCCEEDED(factory_->CreateComponentInfo(stored, info.put())) &&
        SUCCEEDED(info->QueryInterface(IID_IWICPixelFormatInfo,
                                       reinterpret_cast<void**>(pixelInfo.put()))))
        pixelInfo->GetBitsPerPixel(&bits);
    // A JPEG is grey or true colour whatever its channels hold (CMYK has four).
    if (format_.container == &GUID_ContainerFormatJpeg) return bits == 8 ? 8 : kTrueColourBits;
    return std::clamp(static_cast<int>(bits), 1, kTrueColourBits);
}

// The orientation the component reads from the photo's metadata; where it
// reads none (Wine's does not), the tag as the file stores it.
int WicDecoder::orientation(IWICBitmapFrameDecode& frame, std::span<const uint8_t> bytes) const {
    if (format_.orientationQuery == nullptr) return 1;
    ComRef<IWICMetadataQueryReader> reader;
    PROPVARIANT value;
    PropVariantInit(&value);
    int result = 0;
    if (SUCCEEDED(frame.GetMetadataQueryReader(reader.put())) &&
        SUCCEEDED(reader->GetMetadataByName(format_.orientationQuery, &value)) &&
        value.vt == VT_UI2)
        result = value.uiVal;
    PropVariantClear(&value);
    if (result >= 1 && result <= 8) return result;
    return format_.container == &GUID_ContainerFormatJpeg ? jpegOrientation(bytes)
                                                          : tiffOrientation(bytes);
}

// The picture's rows go to the sink a band at a time, as the target asks:
// the whole of it, the screen's window of it or the picture scaled to the
// screen, so that only the target and a band are held here.
Result<Image> WicDecoder::pixels(IWICBitmapSource& source, imaging::PictureSink::Layout layout,
                                 const imaging::Target& target) const {
    ComRef<IWICFormatConverter> converter;
    HRESULT result = factory_->CreateFormatConverter(converter.put());
    // Straight (not premultiplied) alpha: the sink and the codec lay
    // transparent parts on black themselves.
    if (SUCCEEDED(result))
        result =
            converter->Initialize(&source, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                  nullptr, 0.0, WICBitmapPaletteTypeCustom);
    UINT width = 0, height = 0;
    if (SUCCEEDED(result)) result = converter->GetSize(&width, &height);
    if (FAILED(result)) return describe(format_.name, result);
    layout.storedWidth = static_cast<int>(width);
    layout.storedHeight = static_cast<int>(height);
    auto sink = imaging::PictureSink::open(target, layout);
    if (!sink) return sink.error();
    // Pixel is 0xAARRGGBB: in memory B, G, R, A, the order of 32bppBGRA.
    const imaging::Rect window = sink->storedWindow();
    const UINT stride = width * 4;
    const UINT bandRows = std::max(1u, kBandBytes / stride);
    std::vector<imaging::Pixel> band;
    try {
        band.resize(static_cast<size_t>(std::min<UINT>(bandRows, height)) * width);
    } catch (const std::bad_alloc&) {
        return makeError("not enough memory");
    }
    const int end = window.y + window.height;
    for (int y = window.y; y < end; y += static_cast<int>(bandRows)) {
        const int rows = std::min(static_cast<int>(bandRows), end - y);
        const WICRect rect{0, y, static_cast<INT>(width), rows};
        result = converter->CopyPixels(&rect, stride, stride * static_cast<UINT>(rows),
                                       reinterpret_cast<BYTE*>(band.data()));
        if (FAILED(result)) return describe(format_.name, result);
        for (int r = 0; r < rows; ++r) {
            sink->writeRow(y + r, 0,
                           std::span<const imaging::Pixel>(band).subspan(
                               static_cast<size_t>(r) * width, width));
        }
    }
    return sink->take();
}

Result<Image> WicDecoder::decode(const imaging::DecodeRequest& request) const {
    // The component reads the file where it needs it, a piece at a time.
    const imaging::RequestFile file(request);
    ComRef<IStream> stream = streamOver(*file);
    ComRef<IWICBitmapDecoder> decoder;
    auto frame = firstFrame(*stream.get(), decoder);
    if (!frame) return frame.error();
    UINT width = 0, height = 0;
    HRESULT result = (*frame)->GetSize(&width, &height);
    if (FAILED(result)) return describe(format_.name, result);
    if (auto size = imaging::checkPictureSize(request.target, width, height); !size)
        return size.error();
    const Orientation turn = imaging::orientationFromTag(orientation(*frame->get(), request.bytes));
    const bool swap = imaging::swapsSides(turn);
    imaging::PictureSink::Layout layout;
    layout.orientation = turn;
    layout.fullWidth = static_cast<int>(swap ? height : width);
    layout.fullHeight = static_cast<int>(swap ? width : height);

    // A picture shown smaller may come at a reduced scale, which the JPEG
    // decoder serves from the coefficients; the sink scales it the rest of
    // the way. A centred one is shown at its own size.
    IWICBitmapSource* source = frame->get();
    ComRef<IWICBitmapScaler> scaler;
    const imaging::PixelSize cover =
        imaging::coverSize(request.target, layout.fullWidth, layout.fullHeight);
    if (format_.reducedScale && cover.width > 0) {
        int eighths = scaleEighths(width, height, swap ? cover.height : cover.width,
                                   swap ? cover.width : cover.height);
        if (eighths < 8 && SUCCEEDED(factory_->CreateBitmapScaler(scaler.put())) &&
            SUCCEEDED(scaler->Initialize(source, (width * static_cast<UINT>(eighths) + 7) / 8,
                                         (height * static_cast<UINT>(eighths) + 7) / 8,
                                         WICBitmapInterpolationModeFant)))
            source = scaler.get();
    }
    auto picture = pixels(*source, layout, request.target);
    if (!picture) return picture.error();
    picture->sourceBits = storedBits(*frame->get());
    return picture;
}

}  // namespace

imaging::DecoderList wicDecoders() {
    imaging::DecoderList decoders;
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))))
        return decoders;
    for (const Format& format : kFormats)
        decoders.push_back(std::make_unique<WicDecoder>(factory, format));
    return decoders;
}

}  // namespace pictavo::platform::win32
