#include "imaging/mapimage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Columns are mapped in whole blocks, which the compiler turns into vector instructions.
constexpr int Block = 8;

// The output column of each span pixel: round_half_even(map_range(j, start, end, 0, outW)) for
// j = start..end, with map_range's float steps spelled out in its order so the loop vectorises.
// Adding and removing 2^23 rounds a float of 0 to 2^22 to the nearest integer, halves to even
// (the default rounding mode), as round_half_even does; outW stays below MaxStretchWidth for
// that. Fills whole blocks up to one block past the span, which quad_count looks at.
void map_span_columns(int start, int end, int outW, int *columns)
{
    constexpr float Shift = 8388608.f;
    const int count = end - start + 1;
    const float inLow = float(start);
    const float d1 = float(end) - inLow;
    const float d3 = float(outW) - 0.f;
    for (int k = 0; k < count + Block; k += Block) {
        for (int i = 0; i < Block; ++i) {
            const float d2 = float(start + k + i) - inLow;
            const float q = d2 / d1;
            const float r = d3 * q;
            const float value = 0.f + r;
            columns[k + i] = int((value + Shift) - Shift);
        }
    }
}

// One store of four pixels costs less than three of one. The fourth pixel is overwritten by
// the next span pixel's own write, as long as that lands one to three columns further on.
inline void set_pixel4(QRgb *row, int x, QRgb colour)
{
    const QRgb quad[4] = {colour, colour, colour, colour};
    std::memcpy(row + x, quad, sizeof quad);
}

// How many leading span pixels may be written with set_pixel4 and end as set_pixel3 leaves
// them: none when any step between neighbours is outside 1..3 (spans that leave gaps), else
// all but the last few, whose quads or successors would reach the end of the row. Looks at the
// padding past the span too, which can only turn the quads off.
int quad_count(const int *columns, int count, int outW)
{
    int outside = 0;
    for (int k = 0; k < count; k += Block) {
        for (int i = 0; i < Block; ++i) {
            const int step = columns[k + i + 1] - columns[k + i];
            outside |= int(step < 1) | int(step > 3);
        }
    }
    if (outside)
        return 0;
    int until = count - 1;
    while (until > 0 && columns[until] + 3 >= outW)
        --until;
    return until;
}

// The mapped columns of every first content column met in one pass. The two halves of a map
// are mirror images, and neighbouring rows often start at the same column.
class SpanPlans
{
public:
    SpanPlans(int width, int outW)
        : m_outW(outW)
        , m_offset(size_t(width), -1)
        , m_quads(size_t(width), 0)
    {}

    // Valid until the next call.
    const int *columns(int first, int start, int end)
    {
        if (m_offset[size_t(first)] < 0) {
            const int count = end - start + 1;
            const size_t offset = m_pool.size();
            m_pool.resize(offset + size_t(count) + 2 * Block);
            map_span_columns(start, end, m_outW, m_pool.data() + offset);
            m_offset[size_t(first)] = qsizetype(offset);
            m_quads[size_t(first)] = quad_count(m_pool.data() + offset, count, m_outW);
        }
        return m_pool.data() + m_offset[size_t(first)];
    }

    int quads(int first) const { return m_quads[size_t(first)]; }

private:
    int m_outW;
    std::vector<qsizetype> m_offset;
    std::vector<int> m_quads;
    std::vector<int> m_pool;
};

// Writes the span pixels in order, each three wide (one wide in the last two columns); a later
// pixel overwrites an earlier one. `quads` leading pixels are known to allow faster writes.
void write_span(const QRgb *span, const int *x, int count, int quads, int outW, QRgb *to)
{
    int k = 0;
    for (; k + Block <= quads; k += Block) {
        // Every step is at least one, so eight steps adding up to eight are eight steps of one:
        // the block lands as a plain copy.
        if (x[k + Block] - x[k] == Block) {
            std::memcpy(to + x[k], span + k, Block * sizeof(QRgb));
        } else {
            for (int i = k; i < k + Block; ++i)
                set_pixel4(to, x[i], span[i]);
        }
    }
    for (; k < quads; ++k)
        set_pixel4(to, x[k], span[k]);
    for (; k < count; ++k) {
        if (x[k] < outW - 2)
            set_pixel3(to, x[k], span[k]);
        else if (x[k] < outW)
            to[x[k]] = span[k];
    }
}

QImage as_argb32(const QImage &image)
{
    return image.format() == QImage::Format_ARGB32 ? image
                                                   : image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void stretch_rows(const QImage &crop, QImage &output)
{
    if (crop.isNull() || output.isNull() || output.width() > MaxStretchWidth)
        return;
    const QImage source = as_argb32(crop);
    if (output.format() != QImage::Format_ARGB32) {
        output.convertTo(QImage::Format_ARGB32);
        if (output.format() != QImage::Format_ARGB32)
            return;
    }

    const int width = source.width();
    const int outW = output.width();
    const int rows = std::min(source.height(), output.height());
    const qsizetype sourceStride = source.bytesPerLine();
    const qsizetype outputStride = output.bytesPerLine();
    const uchar *sourceLine = source.constBits();
    uchar *outputLine = output.bits();
    SpanPlans plans(width, outW);

    for (int y = 0; y < rows; ++y, sourceLine += sourceStride, outputLine += outputStride) {
        const auto *from = reinterpret_cast<const QRgb *>(sourceLine);
        const QRgb *hit =
            std::find_if(from, from + width, [](QRgb colour) { return colour != MapBackground; });
        if (hit == from + width)
            continue;
        const int first = int(hit - from);
        const int start = first + 2;
        const int end = width - first - 2;
        // The last pixel of every span maps to outW and is dropped. A span of one pixel
        // (start == end) is only that last pixel, and mapping it would divide 0 by 0, so its
        // row stays unwritten like the rows whose span is empty.
        if (end <= start)
            continue;
        const int *columns = plans.columns(first, start, end);
        write_span(from + start, columns, end - start + 1, plans.quads(first), outW,
                   reinterpret_cast<QRgb *>(outputLine));
    }
}
