#include "document/LineEnds.h"

#include <emmintrin.h>
#include <tmmintrin.h>
#include <stdint.h>

#include "document/TextHelpers.h"

namespace {

char* ConvertBytes(const unsigned char* in, const unsigned char* end, char* out,
                   LineEndState* state)
{
    for (; in < end; in++) {
        unsigned char c = *in;
        if (c == '\n') {
            // The CR before it already stands for the break.
            if (state->previous != '\r') {
                *out++ = '\r';
                state->breaks++;
            }
        } else {
            *out++ = static_cast<char>(c);
            state->breaks += c == '\r';
            state->nul |= c == 0;
        }
        state->previous = static_cast<char>(c);
    }
    return out;
}

// 16 bytes at a time: a block without LF is stored whole, one with LF as the runs between
// the LFs that follow a CR, each stored with one 16-byte store (the next run overwrites what
// a store writes past its run). A block's loads reach 15 bytes past it, so this stops with
// fewer than 32 bytes left. Returns where it stopped.
__attribute__((target("sse2"), force_align_arg_pointer))
const unsigned char* ConvertBlocks(const unsigned char* in, const unsigned char* end, char** to,
                                   LineEndState* state)
{
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    char* out = *to;
    unsigned afterCr = state->previous == '\r';
    int breaks = 0;
    int nul = 0;
    const unsigned char* start = in;
    while (end - in >= 32) {
        // Byte counters of CRs overflow after 255 blocks: fold them in before that.
        long blocks = (end - in - 16) / 16;
        if (blocks > 255)
            blocks = 255;
        __m128i counters = zero;
        for (; blocks > 0; blocks--, in += 16) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
            __m128i isCr = _mm_cmpeq_epi8(v, cr);
            __m128i isLf = _mm_cmpeq_epi8(v, lf);
            counters = _mm_sub_epi8(counters, isCr);
            nul |= _mm_movemask_epi8(_mm_cmpeq_epi8(v, zero));
            unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(isCr));
            unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(isLf));
            unsigned dropped = lfs & (crs << 1 | afterCr);
            afterCr = crs >> 15;
            const unsigned char* runs = in;
            alignas(16) unsigned char patched[32];
            if (lfs != dropped) {
                // Lone LFs become CRs.
                for (unsigned lone = lfs & ~dropped; lone; lone &= lone - 1)
                    breaks++;
                v = _mm_or_si128(_mm_andnot_si128(isLf, v), _mm_and_si128(isLf, cr));
                _mm_store_si128(reinterpret_cast<__m128i*>(patched), v);
                _mm_store_si128(reinterpret_cast<__m128i*>(patched + 16), zero);
                runs = patched;
            }
            if (!dropped) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
                out += 16;
                continue;
            }
            unsigned from = 0;
            do {
                unsigned at = static_cast<unsigned>(__builtin_ctz(dropped));
                dropped &= dropped - 1;
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(runs + from)));
                out += at - from;
                from = at + 1;
            } while (dropped);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(runs + from)));
            out += 16 - from;
        }
        __m128i sums = _mm_sad_epu8(counters, zero);
        breaks += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    }
    if (in > start)
        state->previous = static_cast<char>(in[-1]);
    state->breaks += breaks;
    state->nul |= nul != 0;
    *to = out;
    return in;
}

// For each pattern of CRs in eight bytes (bit i: byte i), where each byte lands once every CR
// before it has gained its LF, and the LFs that fill the gaps.
struct ExpandPatterns {
    alignas(16) unsigned char from[256][16];
    alignas(16) unsigned char lf[256][16];
    unsigned char length[256];
    ExpandPatterns()
    {
        for (int crs = 0; crs < 256; crs++) {
            int at = 0;
            for (int i = 0; i < 8; i++) {
                lf[crs][at] = 0;
                from[crs][at++] = static_cast<unsigned char>(i);
                if (crs >> i & 1) {
                    lf[crs][at] = '\n';
                    from[crs][at++] = 0x80; // shuffles in a zero
                }
            }
            length[crs] = static_cast<unsigned char>(at);
            for (; at < 16; at++) {
                lf[crs][at] = 0;
                from[crs][at] = 0x80;
            }
        }
    }
};

// The low eight bytes of v, each CR among them (bit i of crs: byte i) followed by an LF,
// stored whole at out; answers the end of the bytes that count.
__attribute__((target("ssse3"), always_inline)) inline char*
Spread(const ExpandPatterns& patterns, __m128i v, unsigned crs, char* out)
{
    __m128i from = _mm_load_si128(reinterpret_cast<const __m128i*>(patterns.from[crs]));
    __m128i lf = _mm_load_si128(reinterpret_cast<const __m128i*>(patterns.lf[crs]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(_mm_shuffle_epi8(v, from), lf));
    return out + patterns.length[crs];
}

// Eight bytes at a time, without a branch per CR. Each half is stored as 16 bytes, of which
// 8 to 16 count; the next store overwrites the rest. This stops with fewer than 32 bytes left,
// whose converted bytes overwrite what the last store wrote past its own. Returns where it
// stopped.
__attribute__((target("ssse3"), force_align_arg_pointer))
const char* ExpandBlocksSsse3(const char* in, const char* end, char** to)
{
    static const ExpandPatterns patterns;
    const __m128i cr = _mm_set1_epi8('\r');
    char* out = *to;
    for (; end - in >= 32; in += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
        out = Spread(patterns, v, crs & 255, out);
        out = Spread(patterns, _mm_srli_si128(v, 8), crs >> 8, out);
    }
    *to = out;
    return in;
}

// Shuffling bytes came after SSE2; the processors since about 2006 have it.
int HasSsse3()
{
    static const int ssse3 = __builtin_cpu_supports("ssse3");
    return ssse3;
}

} // namespace

int ExpandLineEnds(const char* in, int count, char* out)
{
    const char* end = in + count;
    char* start = out;
    if (HasSsse3())
        in = ExpandBlocksSsse3(in, end, &out);
    for (; in < end; in++) {
        *out++ = *in;
        if (*in == '\r')
            *out++ = '\n';
    }
    return static_cast<int>(out - start);
}

int ConvertLineEnds(const char* in, int count, char* out, LineEndState* state)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(in);
    const unsigned char* end = p + count;
    char* start = out;
    if (HasSse2())
        p = ConvertBlocks(p, end, &out, state);
    out = ConvertBytes(p, end, out, state);
    return static_cast<int>(out - start);
}
