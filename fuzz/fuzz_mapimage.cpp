// A map server's body, decoded, cropped and stretched as a download does. Small images are
// also cropped and stretched with sizes the input picks and compared with the tests' plain
// pixel-by-pixel versions, which the fast row code must match exactly.
#include "fuzzsupport.h"

#include "imaging/mapfixtures.h"
#include "imaging/mapimage.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {
// The plain versions take a while per pixel.
constexpr qint64 MaxComparedPixels = 64 * 64;
// A fill that neither the crop nor the stretch writes, so untouched pixels show.
constexpr QRgb Untouched = 0x12345678u;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silence_qt_messages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray body = input_bytes(data, size);
    QImage decoded;
    if (!decode_map(body, decoded)) {
        FUZZ_CHECK(decoded.isNull());
        return 0;
    }
    FUZZ_CHECK(decoded.format() == QImage::Format_ARGB32);
    FUZZ_CHECK(decoded.width() <= MaxDecodeSide && decoded.height() <= MaxDecodeSide);

    const QImage texture = make_sphere_texture(decoded);
    FUZZ_CHECK(texture.size() == QSize(SphereWidth, SphereHeight));
    FUZZ_CHECK(texture.format() == QImage::Format_ARGB32);

    if (qint64(decoded.width()) * decoded.height() > MaxComparedPixels)
        return 0;
    // The decoder ignores bytes after the image, so the sizes come from the end of the input.
    FuzzedDataProvider sizes(data, size);
    const int w = decoded.width(), h = decoded.height();
    const int left = sizes.ConsumeIntegralInRange(-8, w + 8);
    const int top = sizes.ConsumeIntegralInRange(-8, h + 8);
    const ExtractRectangle rect{left, top, left + sizes.ConsumeIntegralInRange(0, w + 16),
                                top + sizes.ConsumeIntegralInRange(0, h + 16)};
    const QImage crop = crop_map(decoded, rect);
    if (rect.Right == rect.Left || rect.Bottom == rect.Top) {
        FUZZ_CHECK(crop.isNull());
        return 0;
    }
    FUZZ_CHECK(crop == reference_crop(decoded, rect));

    QImage fast(sizes.ConsumeIntegralInRange(1, 300),
                std::max(1, crop.height() + sizes.ConsumeIntegralInRange(-2, 2)),
                QImage::Format_ARGB32);
    fast.fill(Untouched);
    QImage plain = fast.copy();
    stretch_rows(crop, fast);
    reference_stretch(crop, plain);
    FUZZ_CHECK(fast == plain);
    return 0;
}
