#include "imaging/mapimage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define SKYLOOM_SHUFFLE_ROWS 1
#endif

namespace {

// Columns are mapped in whole blocks, which the compiler turns into vector instructions.
constexpr int Block = 8;
// Output pixels made by one shuffle.
constexpr int Group = 4;

// The output column of each span pixel: round_half_even(map_range(j, start, end, 0, outW)) for
// j = start..end, with map_range's float steps spelled out in its order so the loop vectorises.
// Adding and removing 2^23 rounds a float of 0 to 2^22 to the nearest integer, halves to even
// (the default rounding mode), as round_half_even does; outW stays below MaxStretchWidth for
// that. Fills whole blocks, up to a block past the span.
void map_span_columns(int start, int end, int outW, int *columns)
{
    constexpr float Shift = 8388608.f;
    const int count = end - start + 1;
    const float inLow = float(start);
    const float d1 = float(end) - inLow;
    const float d3 = float(outW) - 0.f;
    for (int k = 0; k < count; k += Block) {
        for (int i = 0; i < Block; ++i) {
            const float d2 = float(start + k + i) - inLow;
            const float q = d2 / d1;
            const float r = d3 * q;
            const float value = 0.f + r;
            columns[k + i] = int((value + Shift) - Shift);
        }
    }
}

// A run of output columns that take consecutive span pixels one to one.
struct Segment
{
    int to;     // first output column
    int from;   // first span pixel
    int length; // in pixels
    // May be copied in whole blocks: what passes its end belongs to later runs.
    bool blocks;
};

// How one output row is made from a span with a given first column. Either every group of
// four output columns takes its pixels from four neighbouring span pixels (one shuffle
// each), or the row is a list of one-to-one runs.
struct Plan
{
    // Per group: its first span pixel, shifted up by 8, and in the low byte which of the
    // four pixels from there each of its columns takes. One load per group.
    std::vector<std::uint32_t> groups;
    std::vector<Segment> segments; // when the groups do not fit
};

// Every output column's final span pixel, as writing each span pixel three wide (one wide
// in the last two columns), later pixels over earlier ones, leaves them; -1 where none lands.
std::vector<int> final_owners(int start, int end, int outW)
{
    const int count = end - start + 1;
    std::vector<int> columns(size_t(count) + Block);
    map_span_columns(start, end, outW, columns.data());
    std::vector<int> owner(size_t(outW), -1);
    for (int k = 0; k < count; ++k) {
        const int x = columns[size_t(k)];
        if (x < outW - 2) {
            owner[size_t(x)] = owner[size_t(x) + 1] = owner[size_t(x) + 2] = k;
        } else if (x < outW) {
            owner[size_t(x)] = k;
        }
    }
    return owner;
}

bool plan_groups(const std::vector<int> &owner, int start, int sourceWidth, Plan &plan)
{
    const int outW = int(owner.size());
    if (outW % Group != 0)
        return false;
    plan.groups.reserve(size_t(outW / Group));
    for (int c = 0; c < outW; c += Group) {
        const auto group = owner.begin() + c;
        const auto [low, high] = std::minmax_element(group, group + Group);
        // A column no pixel reaches keeps what it held, which a shuffle cannot; nor may the
        // four pixels read reach past the source row.
        if (*low < 0 || *high - *low >= Group || start + *low + Group > sourceWidth)
            return false;
        unsigned pattern = 0;
        for (int i = 0; i < Group; ++i)
            pattern |= unsigned(group[i] - *low) << (2 * i);
        plan.groups.push_back(std::uint32_t(*low) << 8 | pattern);
    }
    return true;
}

void plan_segments(const std::vector<int> &owner, int start, int sourceWidth, Plan &plan)
{
    const int outW = int(owner.size());
    for (int c = 0; c < outW; ++c) {
        const int k = owner[size_t(c)];
        if (k < 0)
            continue;
        if (!plan.segments.empty()) {
            Segment &last = plan.segments.back();
            if (last.to + last.length == c && last.from + last.length == k) {
                ++last.length;
                continue;
            }
        }
        plan.segments.push_back({c, k, 1, false});
    }
    // Whole blocks may run past a run's end only onto columns a later run writes, and may
    // read only within the source row.
    for (Segment &s : plan.segments) {
        const int rounded = (s.length + Block - 1) / Block * Block;
        bool ok = s.to + rounded <= outW && start + s.from + rounded <= sourceWidth;
        for (int c = s.to + s.length; ok && c < s.to + rounded; ++c)
            ok = owner[size_t(c)] >= 0;
        s.blocks = ok;
    }
}

#ifdef SKYLOOM_SHUFFLE_ROWS
bool can_shuffle()
{
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    return ssse3;
}

// The byte shuffle of each pattern: lane i takes span pixel (pattern >> 2i) & 3.
struct ShuffleMasks
{
    ShuffleMasks()
    {
        for (unsigned p = 0; p < 256; ++p)
            for (int lane = 0; lane < Group; ++lane)
                for (int b = 0; b < 4; ++b)
                    bytes[p][4 * lane + b] = std::uint8_t(4 * ((p >> (2 * lane)) & 3) + b);
    }
    alignas(16) std::uint8_t bytes[256][16];
};

const ShuffleMasks &shuffle_masks()
{
    static const ShuffleMasks masks;
    return masks;
}

__attribute__((target("ssse3"))) void write_row_shuffled(const QRgb *span, const Plan &plan,
                                                         QRgb *to)
{
    const auto *masks = reinterpret_cast<const __m128i *>(shuffle_masks().bytes);
    const std::uint32_t *groups = plan.groups.data();
    const size_t count = plan.groups.size();
    for (size_t g = 0; g < count; ++g) {
        const std::uint32_t group = groups[g];
        const __m128i four =
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(span + (group >> 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + Group * g),
                         _mm_shuffle_epi8(four, masks[group & 0xFF]));
    }
}
#else
bool can_shuffle() { return false; }
void write_row_shuffled(const QRgb *, const Plan &, QRgb *) {}
#endif

void write_row_segments(const QRgb *span, const Plan &plan, QRgb *to)
{
    for (const Segment &s : plan.segments) {
        const QRgb *from = span + s.from;
        QRgb *out = to + s.to;
        if (s.blocks) {
            // Fixed-size copies: two vector moves each, with no call and no tail loop.
            for (int k = 0; k < s.length; k += Block)
                std::memcpy(out + k, from + k, Block * sizeof(QRgb));
        } else {
            std::memcpy(out, from, size_t(s.length) * sizeof(QRgb));
        }
    }
}

// The plans of every first content column met. The two halves of a map are mirror images,
// neighbouring rows often start at the same column, and maps from one server share their
// layout, so a thread keeps its plans for the next map of the same size.
class SpanPlans
{
public:
    SpanPlans(int width, int outW)
        : m_width(width)
        , m_outW(outW)
        , m_plans(size_t(width))
    {}

    bool fits(int width, int outW) const { return width == m_width && outW == m_outW; }

    const Plan &plan(int first, int start, int end)
    {
        std::unique_ptr<Plan> &plan = m_plans[size_t(first)];
        if (!plan) {
            plan = std::make_unique<Plan>();
            const std::vector<int> owner = final_owners(start, end, m_outW);
            if (!can_shuffle() || !plan_groups(owner, start, m_width, *plan)) {
                plan->groups.clear();
                plan_segments(owner, start, m_width, *plan);
            }
        }
        return *plan;
    }

private:
    int m_width;
    int m_outW;
    std::vector<std::unique_ptr<Plan>> m_plans;
};

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
    thread_local std::unique_ptr<SpanPlans> kept;
    if (!kept || !kept->fits(width, outW))
        kept = std::make_unique<SpanPlans>(width, outW);
    SpanPlans &plans = *kept;

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
        const Plan &plan = plans.plan(first, start, end);
        auto *to = reinterpret_cast<QRgb *>(outputLine);
        if (plan.segments.empty())
            write_row_shuffled(from + start, plan, to);
        else
            write_row_segments(from + start, plan, to);
    }
}
