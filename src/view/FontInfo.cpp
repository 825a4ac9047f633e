#include "view/FontInfo.h"
#include "base/FailureSeam.h"

#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "base/ErrorBox.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "view/FontHook.h"

CFontInfo::CFontInfo(CTextDocument* owner)
    : m_hFont(nullptr), m_pABC(nullptr), m_pKerning(nullptr), m_pWidths(nullptr),
      m_bTrueType(FALSE), m_nKerningPairs(0), m_nResX(0), m_nResY(0), m_pOwner(owner),
      m_pKerningIndex(nullptr), m_pPairAdvances(nullptr), m_bRising(1), m_nGeneration(0)
{
    memset(&m_cc, 0, sizeof(m_cc));
    memset(&m_cf, 0, sizeof(m_cf));
    memset(&m_lf, 0, sizeof(m_lf));
    memset(&m_tm, 0, sizeof(m_tm));
    memset(m_custColours, 0, sizeof(m_custColours));

    HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    SetFont(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), dc, 0);
    if (dc)
        DeleteDC(dc);

    HWND mainWindow = owner ? owner->GetOwnerWindow() : nullptr;
    m_cf.lStructSize = sizeof(CHOOSEFONTA);
    m_cf.hwndOwner = mainWindow;
    // The dialog's template is a resource of the module that made the main window; a
    // document without one finds it in the program itself.
    m_cf.hInstance = mainWindow
        ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE))
        : GetModuleHandleA(nullptr);
    m_cf.lpLogFont = &m_lf;
    m_cf.rgbColors = 0;
    m_cf.nSizeMin = 1;
    m_cf.nSizeMax = 72;
    m_cf.lpfnHook = FontHookProc;
    m_cf.lCustData = reinterpret_cast<LPARAM>(&m_cc);
    m_cf.lpTemplateName = MAKEINTRESOURCEA(IDD_FONT);
    m_cf.Flags = CF_SCREENFONTS | CF_ENABLEHOOK | CF_ENABLETEMPLATE | CF_INITTOLOGFONTSTRUCT |
                 CF_EFFECTS | CF_LIMITSIZE | CF_FORCEFONTEXIST;

    m_cc.lStructSize = sizeof(CHOOSECOLORA);
    m_cc.hwndOwner = nullptr;
    m_cc.rgbResult = 0;
    m_cc.lpCustColors = m_custColours;
    m_cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    m_cc.lCustData = 0;
}

CFontInfo::~CFontInfo()
{
    Release();
}

void CFontInfo::Release()
{
    if (m_hFont)
        DeleteObject(m_hFont);
    m_hFont = nullptr;
    free(m_pABC);
    m_pABC = nullptr;
    free(m_pKerning);
    m_pKerning = nullptr;
    free(m_pKerningIndex);
    m_pKerningIndex = nullptr;
    free(m_pPairAdvances);
    m_pPairAdvances = nullptr;
    m_nKerningPairs = 0;
    free(m_pWidths);
    m_pWidths = nullptr;
}

int CFontInfo::SetFont(HFONT font, HDC dc, COLORREF colour)
{
    // Measuring the current font again (on another device, say) must not delete it first.
    if (font == m_hFont)
        m_hFont = nullptr;
    Release();
    m_nResX = GetDeviceCaps(dc, LOGPIXELSX);
    m_nResY = abs(GetDeviceCaps(dc, LOGPIXELSY));
    m_hFont = font;
    GetObjectA(font, sizeof(LOGFONTA), &m_lf);

    HGDIOBJ previous = SelectObject(dc, font);
    memset(&m_tm, 0, sizeof(m_tm));
    ::GetTextMetricsA(dc, &m_tm);
    m_bTrueType = (m_tm.tmPitchAndFamily & TMPF_TRUETYPE) ? TRUE : FALSE;

    m_pWidths = static_cast<int*>(calloc(256, sizeof(int)));
    if (m_pWidths)
        GetCharWidthA(dc, 0, 255, m_pWidths);

    if (m_bTrueType) {
        m_pABC = static_cast<ABC*>(calloc(256, sizeof(ABC)));
        if (m_pABC && !GetCharABCWidthsA(dc, 0, 255, m_pABC)) {
            free(m_pABC);
            m_pABC = nullptr;
        }
        DWORD pairs = GetKerningPairsA(dc, 0, nullptr);
        if (pairs > 0 && pairs < 0x100000) {
            m_pKerning = static_cast<KERNINGPAIR*>(calloc(pairs, sizeof(KERNINGPAIR)));
            if (m_pKerning)
                m_nKerningPairs = static_cast<int>(GetKerningPairsA(dc, pairs, m_pKerning));
            if (m_nKerningPairs <= 0) {
                free(m_pKerning);
                m_pKerning = nullptr;
                m_nKerningPairs = 0;
            }
        }
        BuildKerningIndex();
    }
    BuildPairAdvances();
    m_bRising = LowestAdvance() >= 0;
    m_nGeneration++;
    m_cf.rgbColors = colour;
    SelectObject(dc, previous);
    return 1;
}

int CFontInfo::ChooseNewFont(HDC dc)
{
    // The dialog writes its choice into the record as it goes, whether it ends with OK or
    // not: whatever does not become the document's font must not stay there.
    const LOGFONTA previousFont = m_lf;
    const COLORREF previousColour = m_cf.rgbColors;
    if (!ChooseFontA(&m_cf)) {
        m_lf = previousFont;
        m_cf.rgbColors = previousColour;
        return 0;
    }
    m_lf.lfFaceName[LF_FACESIZE - 1] = 0;
    HFONT font = CreateFontIndirectA(&m_lf);
    if (!font) {
        ShowLastError(m_cf.hwndOwner, "Font creation failed");
        m_lf = previousFont;
        m_cf.rgbColors = previousColour;
        return 0;
    }
    // The hook leaves the colour chosen in the colour record; without a choice it holds
    // the document's colour still.
    return SetFont(font, dc, m_cc.rgbResult);
}

void CFontInfo::BuildKerningIndex()
{
    if (!m_pKerning)
        return;
    m_pKerningIndex = static_cast<int*>(SeamMalloc(256 * 256 * sizeof(int)));
    if (!m_pKerningIndex)
        return;
    for (int i = 0; i < 256 * 256; i++)
        m_pKerningIndex[i] = KERNING_NOT_FOUND;
    // Walk backwards so that the first record of a repeated pair is the one that stays.
    for (int i = m_nKerningPairs - 1; i >= 0; i--) {
        const KERNINGPAIR& pair = m_pKerning[i];
        if (pair.wFirst < 256 && pair.wSecond < 256)
            m_pKerningIndex[pair.wFirst << 8 | pair.wSecond] = pair.iKernAmount;
    }
}

void CFontInfo::BuildPairAdvances()
{
    const bool kerned = m_bTrueType && m_pKerning;
    if (!m_pWidths || (kerned && !m_pKerningIndex))
        return;
    m_pPairAdvances = static_cast<short*>(SeamMalloc(256 * 256 * sizeof(short)));
    if (!m_pPairAdvances)
        return;
    for (unsigned second = 0; second < 256; second++) {
        for (unsigned first = 0; first < 256; first++) {
            long long advance = static_cast<long long>(m_pWidths[first]) - m_tm.tmOverhang;
            if (kerned) {
                int k = m_pKerningIndex[first << 8 | second];
                advance += k == KERNING_NOT_FOUND ? 0 : k;
            } else {
                advance += static_cast<long long>(m_pWidths[second]) - m_tm.tmOverhang;
            }
            // Short entries keep the table at 128 KB; a font too large for them is measured
            // without it.
            if (advance < SHRT_MIN || advance > SHRT_MAX) {
                free(m_pPairAdvances);
                m_pPairAdvances = nullptr;
                return;
            }
            m_pPairAdvances[first | second << 8] = static_cast<short>(advance);
        }
    }
}

// The least advance any byte but a tab can get, kerning included (tabs never go back).
int CFontInfo::LowestAdvance() const
{
    int kern[256] = {0};
    for (int i = 0; i < m_nKerningPairs; i++) {
        const KERNINGPAIR& pair = m_pKerning[i];
        if (pair.wFirst < 256 && pair.iKernAmount < kern[pair.wFirst])
            kern[pair.wFirst] = pair.iKernAmount;
    }
    int lowest = 0;
    for (int c = 0; c < 256; c++) {
        int advance = (m_pWidths ? m_pWidths[c] : 0) - m_tm.tmOverhang + kern[c];
        if (c != '\t' && advance < lowest)
            lowest = advance;
    }
    return lowest;
}

int CFontInfo::KerningAmount(unsigned char first, unsigned char second) const
{
    if (m_pKerningIndex)
        return m_pKerningIndex[first << 8 | second];
    // Without the index (its allocation failed) the records themselves still answer.
    for (int i = 0; i < m_nKerningPairs; i++) {
        if (m_pKerning[i].wFirst == first && m_pKerning[i].wSecond == second)
            return m_pKerning[i].iKernAmount;
    }
    return KERNING_NOT_FOUND;
}

const KERNINGPAIR* CFontInfo::GetKerningTable(int* count) const
{
    if (count)
        *count = m_nKerningPairs;
    return m_pKerning;
}

int CFontInfo::TabUnit() const
{
    int unit = 4 * m_tm.tmAveCharWidth;
    return unit > 0 ? unit : 1;
}

int CFontInfo::LineHeight() const
{
    return m_tm.tmHeight > 0 ? m_tm.tmHeight : 1;
}

int CFontInfo::AverageWidth() const
{
    return m_tm.tmAveCharWidth > 0 ? m_tm.tmAveCharWidth : 1;
}

int CFontInfo::AdvanceAt(const char* line, int n, int i, int sum) const
{
    const unsigned char* u = reinterpret_cast<const unsigned char*>(line);
    if (u[i] == '\t') {
        int tab = TabUnit();
        return (sum % tab) ? (sum / tab + 1) * tab - sum : tab;
    }
    int advance = (m_pWidths ? m_pWidths[u[i]] : 0) - m_tm.tmOverhang;
    if (m_bTrueType && m_pKerning && i + 1 < n) {
        int k = KerningAmount(u[i], u[i + 1]);
        if (k != KERNING_NOT_FOUND)
            advance += k;
    }
    return advance;
}

// Whether any byte of a word is a tab: a byte of x ^ 0x0909... is then zero.
template <class Word> static bool HoldsTab(Word x)
{
    const Word ones = static_cast<Word>(~Word(0)) / 255;
    Word v = x ^ (ones * 9);
    return ((v - ones) & ~v & (ones * 0x80)) != 0;
}

// Measuring reads a machine word at a time: eight bytes in the 64-bit program, four in the
// 32-bit one, where wider words cost two registers.
typedef uintptr_t Word;
const int WORD_BYTES = sizeof(Word);

// The rest (fewer than a word's) bytes at p as a word, NULs above them.
static Word TailWord(const unsigned char* p, int rest)
{
    Word x = 0;
    int shift = 0;
    if (WORD_BYTES == 8 && (rest & 4)) {
        uint32_t four;
        memcpy(&four, p, 4);
        x = four;
        p += 4;
        shift = 32;
    }
    if (rest & 2) {
        uint16_t two;
        memcpy(&two, p, 2);
        x |= static_cast<Word>(two) << shift;
        p += 2;
        shift += 16;
    }
    if (rest & 1)
        x |= static_cast<Word>(*p) << shift;
    return x;
}

int CFontInfo::SumAdvances(const char* line, int n, int from, int to, int sum) const
{
    const bool kerned = m_bTrueType && m_pKerning;
    if (!m_pWidths || (kerned && !m_pKerningIndex)) {
        for (int i = from; i < to; i++)
            sum += AdvanceAt(line, n, i, sum);
        return sum;
    }
    const unsigned char* u = reinterpret_cast<const unsigned char*>(line);
    const int* widths = m_pWidths;
    const int* kerning = m_pKerningIndex;
    const short* pairs = m_pPairAdvances;
    auto kern = [kerning](unsigned a, unsigned b) {
        int k = kerning[a << 8 | b];
        return k == KERNING_NOT_FOUND ? 0 : k;
    };
    auto pair = [pairs, u](int at) {
        uint16_t two;
        memcpy(&two, u + at, 2);
        return static_cast<unsigned>(pairs[two]);
    };
    // The last byte of a line has nothing to kern with: it is taken alone, as tabs are.
    const int paired = kerned && to == n ? n - 1 : to;
    const unsigned overhang = static_cast<unsigned>(m_tm.tmOverhang);
    // Unsigned, so that a sum past the range of int wraps as the byte-by-byte sum does.
    unsigned s = static_cast<unsigned>(sum);
    // A word at a time; a last word of fewer bytes is filled with NULs, whose advances are
    // taken off again.
    auto word = [pairs](Word x) {
        unsigned sum = 0;
        for (int b = 0; b < WORD_BYTES; b += 2, x >>= 16)
            sum += static_cast<unsigned>(pairs[x & 0xFFFF]);
        return sum;
    };
    int i = from;
    for (;;) {
        if (pairs && !kerned) {
            for (; paired - i >= WORD_BYTES; i += WORD_BYTES) {
                Word x;
                memcpy(&x, u + i, WORD_BYTES);
                if (HoldsTab(x))
                    break;
                s += word(x);
            }
            const int rest = paired - i;
            if (rest > 0 && rest < WORD_BYTES) {
                Word x = TailWord(u + i, rest);
                if (!HoldsTab(x)) {
                    s += word(x) -
                         (WORD_BYTES - rest) * (static_cast<unsigned>(widths[0]) - overhang);
                    i = paired;
                }
            }
        }
        for (; paired - i >= 4; i += 4) {
            uint32_t x;
            memcpy(&x, u + i, 4);
            if (HoldsTab(x))
                break;
            if (pairs && kerned) {
                s += pair(i) + pair(i + 1) + pair(i + 2) + pair(i + 3);
                continue;
            }
            s += widths[x & 255] + widths[x >> 8 & 255] + widths[x >> 16 & 255] +
                 widths[x >> 24] - 4 * overhang;
            if (kerned)
                s += kern(u[i], u[i + 1]) + kern(u[i + 1], u[i + 2]) + kern(u[i + 2], u[i + 3]) +
                     kern(u[i + 3], u[i + 4]);
        }
        if (i >= to)
            break;
        if (u[i] == '\t') {
            s += AdvanceAt(line, n, i, static_cast<int>(s));
        } else {
            s += widths[u[i]] - overhang;
            if (kerned && i + 1 < n)
                s += kern(u[i], u[i + 1]);
        }
        i++;
    }
    return static_cast<int>(s);
}

// Calls sink(i, advance) for every character with its final advance: kerning applied,
// tabs expanded to the next stop counted from the start of s.
template <class Sink> void CFontInfo::WalkAdvances(const char* s, int n, Sink& sink) const
{
    int sum = 0;
    for (int i = 0; i < n; i++) {
        int advance = AdvanceAt(s, n, i, sum);
        sink(i, advance);
        sum += advance;
    }
}

int CFontInfo::Advances(const char* s, int n, int* out) const
{
    if (n <= 0 || !out)
        return 0;
    auto store = [out](int i, int advance) { out[i] = advance; };
    WalkAdvances(s, n, store);
    return 1;
}

static int DrawsGlyph(unsigned char c)
{
    return c != ' ' && c != '\t';
}

int CFontInfo::LeftOverhang(unsigned char first) const
{
    if (!m_bTrueType || !m_pABC || !DrawsGlyph(first))
        return 0;
    return m_pABC[first].abcA < 0 ? -m_pABC[first].abcA : 0;
}

int CFontInfo::RightOverhang(unsigned char last) const
{
    if (!m_bTrueType || !m_pABC || !DrawsGlyph(last))
        return 0;
    int c = static_cast<int>(m_pABC[last].abcC);
    return c < 0 ? -c : 0;
}

int CFontInfo::EdgeOverhangs(const char* s, int n) const
{
    if (n <= 0)
        return 0;
    return LeftOverhang(static_cast<unsigned char>(s[0])) +
           RightOverhang(static_cast<unsigned char>(s[n - 1]));
}

int CFontInfo::LineWidth(const char* s, int n) const
{
    if (n <= 0)
        return 0;
    int width = 0;
    auto add = [&width](int, int advance) { width += advance; };
    WalkAdvances(s, n, add);
    return width + EdgeOverhangs(s, n);
}

int* CFontInfo::Measure(const char* s, int n, SIZE* size, int keep) const
{
    int* advances = nullptr;
    if (n > 0 && keep) {
        advances = static_cast<int*>(SeamMalloc(n * sizeof(int)));
        if (advances)
            Advances(s, n, advances);
    }
    if (size) {
        size->cx = LineWidth(s, n);
        size->cy = m_tm.tmHeight;
    }
    return advances;
}

int CFontInfo::MakePrinterFont(const CFontInfo* screen, HDC printer)
{
    if (!screen)
        return 0;
    LOGFONTA lf = screen->m_lf;
    int px = GetDeviceCaps(printer, LOGPIXELSX);
    int py = abs(GetDeviceCaps(printer, LOGPIXELSY));
    float ratioY = static_cast<float>(py) / static_cast<float>(screen->m_nResY > 0 ? screen->m_nResY : 1);
    float ratioX = static_cast<float>(px) / static_cast<float>(screen->m_nResX > 0 ? screen->m_nResX : 1);
    POINT pt;
    pt.x = static_cast<LONG>(static_cast<float>(lf.lfWidth) * ratioX);
    pt.y = static_cast<LONG>(static_cast<float>(lf.lfHeight) * ratioY);
    bool negative = pt.y < 0;

    POINT oldViewport, oldWindow;
    SetViewportOrgEx(printer, 0, 0, &oldViewport);
    SetWindowOrgEx(printer, 0, 0, &oldWindow);
    DPtoLP(printer, &pt, 1);
    SetViewportOrgEx(printer, oldViewport.x, oldViewport.y, nullptr);
    SetWindowOrgEx(printer, oldWindow.x, oldWindow.y, nullptr);

    LONG height = pt.y < 0 ? -pt.y : pt.y;
    lf.lfHeight = negative ? -height : height;
    lf.lfWidth = pt.x;
    lf.lfQuality = PROOF_QUALITY;
    HFONT font = CreateFontIndirectA(&lf);
    if (!font)
        return 0;
    return SetFont(font, printer, screen->GetColour());
}

void BlankTabs(char* s, int n)
{
    for (int i = 0; i < n; i++) {
        if (s[i] == '\t')
            s[i] = ' ';
    }
}
