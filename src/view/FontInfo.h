#pragma once
#include <windows.h>

class CTextDocument;

// Kerning lookup's answer for a pair the font does not kern.
const int KERNING_NOT_FOUND = -1111111;

// The font a document is shown in, its colour, and the character measurements taken
// once when the font is set, so that lines are measured without asking the device.
class CFontInfo {
public:
    explicit CFontInfo(CTextDocument* owner);
    virtual ~CFontInfo();

    int SetFont(HFONT font, HDC dc, COLORREF colour);
    // The font dialog; 1 when the font and colour chosen there were set, measured on dc.
    // Cancelled or failed, the document keeps its font, colour and tables.
    int ChooseNewFont(HDC dc);
    int MakePrinterFont(const CFontInfo* screen, HDC printer);

    int Advances(const char* s, int n, int* out) const;
    int* Measure(const char* s, int n, SIZE* size, int keep) const;
    // The width that Measure gives, without the advance array.
    int LineWidth(const char* s, int n) const;
    int KerningAmount(unsigned char first, unsigned char second) const;
    // The advance of byte i of a line of n bytes when the bytes before it advanced by sum:
    // the same value that Advances gives it, so that a line can be measured from any point.
    int AdvanceAt(const char* line, int n, int i, int sum) const;
    // sum plus the advances of bytes [from, to) of a line of n bytes when the bytes before
    // from advanced by sum: what AdvanceAt gives byte by byte, taken four bytes at a time.
    int SumAdvances(const char* line, int n, int from, int to, int sum) const;
    // How far the glyphs of a line's first and last bytes reach past their cells, and both
    // together: what drawing, the caret and the line width all add. Spaces and tabs draw
    // no glyph and reach nowhere.
    int LeftOverhang(unsigned char first) const;
    int RightOverhang(unsigned char last) const;
    int EdgeOverhangs(const char* s, int n) const;
    // 1 when no byte can advance by less than 0: sums along a line then never fall, so a
    // search by position may skip whole stretches, and tab stops move with the text.
    int HasRisingAdvances() const { return m_bRising; }
    // Rises with every font set, so that kept measurements can tell they are stale.
    unsigned int Generation() const { return m_nGeneration; }

    HFONT GetFont() const { return m_hFont; }
    COLORREF GetColour() const { return m_cf.rgbColors; }
    const TEXTMETRICA& TextMetrics() const { return m_tm; }
    const ABC* GetABCTable() const { return m_pABC; }
    const int* GetWidthTable() const { return m_pWidths; }
    int IsTrueType() const { return m_bTrueType; }
    const KERNINGPAIR* GetKerningTable(int* count) const;
    // The tab unit and the line metrics, never 0 so that callers may divide by them.
    int TabUnit() const;
    int LineHeight() const;
    int AverageWidth() const;

    HFONT m_hFont;
    CHOOSECOLORA m_cc;
    CHOOSEFONTA m_cf;
    LOGFONTA m_lf;
    TEXTMETRICA m_tm;
    ABC* m_pABC;
    KERNINGPAIR* m_pKerning;
    COLORREF m_custColours[16];
    int* m_pWidths;
    BOOL m_bTrueType;
    int m_nKerningPairs;
    int m_nResX;
    int m_nResY;
    CTextDocument* m_pOwner;
    // kerning amounts by (first << 8 | second), KERNING_NOT_FOUND where no pair is kerned
    int* m_pKerningIndex;
    // The advance of a pair of bytes by (first | second << 8): without kerning both bytes'
    // advances, with it the first byte's advance and the pair's kerning, so that measuring
    // looks up two bytes at once, or one byte and its kerning. Null when memory was short or
    // an entry would not fit.
    short* m_pPairAdvances;
    int m_bRising;
    unsigned int m_nGeneration;

private:
    CFontInfo(const CFontInfo&);
    CFontInfo& operator=(const CFontInfo&);
    void Release();
    void BuildKerningIndex();
    void BuildPairAdvances();
    int LowestAdvance() const;
    template <class Sink> void WalkAdvances(const char* s, int n, Sink& sink) const;
};

// Replaces every tab with a space, so a device draws a blank where the advances put a tab stop.
void BlankTabs(char* s, int n);
