#include <stdlib.h>
#include <string.h>

#include "document/LineSteps.h"
#include "document/TextDocument.h"
#include "document/TextHelpers.h"
#include "view/DragInfo.h"
#include "view/EditDisplay.h"
#include "view/FontInfo.h"
#include "view/LineDrawing.h"
#include "view/ScrollBars.h"
#include "view/Selection.h"
#include "view/ViewHost.h"

int CEditDisplay::SetIndex(int index)
{
    if (index < 0 || index > m_pDocument->GetTextLength()) {
        MessageBoxA(m_hWnd, "Invalid index given", "CEditDisplay::SetIndex(INT index)", MB_OK);
        return 0;
    }
    POINT p;
    PointFromIndex(index, &p);
    LayOutLineAt(index);
    m_ptCaret = p;
    m_ptDesired = p;
    m_nIndex = index;
    PublishCaretPosition();
    UpdateCaret(1);
    return 1;
}

void CEditDisplay::CaretRowColumn(int* row, int* column) const
{
    int lineLength, start;
    m_pDocument->LineAt(m_nIndex, &start, &lineLength);
    *row = m_nCaretLine;
    *column = m_nIndex - start;
}

void CEditDisplay::PublishCaretPosition() const
{
    int row, column;
    CaretRowColumn(&row, &column);
    ShowCaretPosition(row, column);
}

int CEditDisplay::MoveCaret(int index)
{
    if (!SetIndex(index))
        return 0;
    POINT q = CaretClientPoint();
    if (m_pScrollBars)
        ScrollCaretIntoView(&q);
    if (m_bCaretExists)
        SetCaretPos(q.x, q.y);
    return 1;
}

POINT CEditDisplay::CaretClientPoint() const
{
    POINT q;
    q.x = m_ptCaret.x - GetHorzPos() * m_nCharWidth;
    q.y = m_ptCaret.y - GetVertPos() * m_nLineHeight;
    return q;
}

void CEditDisplay::ScrollCaretIntoView(POINT* q)
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    int W = client.right, H = client.bottom;
    int h = m_nLineHeight, a = m_nCharWidth;
    int top = -1, left = -1;
    if (q->y < 0)
        top = m_ptCaret.y / h;
    if (H - 2 < q->y + h - 1)
        top = (m_ptCaret.y + h - H + 1 + h - 1) / h;
    if (q->x < 0)
        left = m_ptCaret.x / a;
    if (W - 2 < q->x + 1)
        left = (m_ptCaret.x - W + 3 + a - 1) / a;
    if (top > m_pScrollBars->GetVertMax() || left > m_pScrollBars->GetHorzMax())
        m_pScrollBars->Recalculate();
    // The setters refuse a position past their range, which would leave the caret unseen.
    if (top > m_pScrollBars->GetVertMax())
        top = m_pScrollBars->GetVertMax();
    if (left > m_pScrollBars->GetHorzMax())
        left = m_pScrollBars->GetHorzMax();
    if (top >= 0)
        m_pScrollBars->SetVertPos(top, 1);
    if (left >= 0)
        m_pScrollBars->SetHorzPos(left, 1);
    if (top >= 0 || left >= 0)
        *q = CaretClientPoint();
}

int CEditDisplay::PointFromIndex(int index, POINT* pt) const
{
    if (index < 0 || index > m_pDocument->GetTextLength())
        return 0;
    int start, lineLength;
    int line = m_pDocument->LineAt(index, &start, &lineLength);
    pt->x = VIEW_LEFT_MARGIN;
    pt->y = line * m_nLineHeight;
    if (index > start) {
        const char* lineStart = m_pDocument->GetTextAt(start);
        // Measured with the whole line, as it is drawn: the last byte keeps its kerning.
        pt->x += m_pDocument->GetLineSteps()->SumTo(lineStart, lineLength, index - start);
        pt->x += LineOverhang(GetFontInfo(), lineStart, lineLength);
    }
    return 1;
}

void CEditDisplay::ComputeLineLayout(int line)
{
    int lineLength, start = m_nTopIndex;
    MoveByLines(line - GetVertPos(), &lineLength, &start, m_pTopLine);
    LayOutLine(line, start, lineLength);
}

void CEditDisplay::LayOutLineAt(int index)
{
    int start, length;
    int line = m_pDocument->LineAt(index, &start, &length);
    LayOutLine(line, start, length);
}

void CEditDisplay::LayOutLine(int line, int start, int length)
{
    // The caret moving along its own line keeps the layout until the text changes.
    if (line == m_nCaretLine && start == m_nLayoutStart)
        return;
    m_nLayoutStart = start;
    m_nCaretLine = line;
    m_nLineOverhang = LineOverhang(GetFontInfo(), m_pDocument->GetTextAt(start), length);
}

int CEditDisplay::CaretFromPoint(POINT client)
{
    int before = m_nIndex;
    int x = client.x + GetHorzPos() * m_nCharWidth;
    int y = client.y + GetVertPos() * m_nLineHeight;
    int line = y / m_nLineHeight;
    if (line < 0)
        line = 0;
    if (line > m_pDocument->GetLineCount() - 1)
        line = m_pDocument->GetLineCount() - 1;
    ComputeLineLayout(line);
    int n, s = m_nTopIndex;
    const char* p = MoveByLines(line - GetVertPos(), &n, &s, m_pTopLine);

    // Byte j spans from its left edge to 10 + overhang + the sum of [0, j + 1); the first
    // byte's left edge is the margin itself. The caret goes to the nearer edge of the first
    // byte that the point lies left of the right edge of (an exact middle goes left).
    CLineSteps* steps = m_pDocument->GetLineSteps();
    int origin = VIEW_LEFT_MARGIN + m_nLineOverhang;
    int passed = n, boundary = n > 0 ? origin + steps->SumTo(p, n, n) : VIEW_LEFT_MARGIN;
    int j = n > 0 ? steps->FirstReaching(p, n, 0, x - origin + 1) : n;
    if (j < n) {
        int left = j == 0 ? VIEW_LEFT_MARGIN : origin + steps->SumTo(p, n, j);
        int right = origin + steps->SumTo(p, n, j + 1);
        passed = right - x < x - left ? j + 1 : j;
        boundary = right - x < x - left ? right : left;
    }
    m_ptCaret.x = boundary;
    m_ptCaret.y = line * m_nLineHeight;
    m_nIndex = s + passed;
    m_ptDesired = m_ptCaret;
    PublishCaretPosition();
    UpdateCaret(1);
    return m_nIndex != before;
}

// The index on a line nearest to the document x of a remembered column.
int CEditDisplay::NearestIndexOnLine(const char* lineStart, int lineIndex, int length, int x) const
{
    int target = x - VIEW_LEFT_MARGIN;
    CLineSteps* steps = m_pDocument->GetLineSteps();
    int j = steps->FirstReaching(lineStart, length, 0, target);
    if (j >= length)
        return lineIndex + length;
    int a = steps->SumTo(lineStart, length, j);
    int b = steps->SumTo(lineStart, length, j + 1);
    return lineIndex + ((b == target || b - target < target - a) ? j + 1 : j);
}

void CEditDisplay::UpdateCaret(int show)
{
    POINT q = CaretClientPoint();
    if (!show) {
        DestroyCaret();
        m_bCaretExists = 0;
        return;
    }
    // No caret while the pointer drags the selection over the selected text itself.
    if (IsDragging() && (!m_pDrag || m_pDrag->m_pSource == this) &&
        m_pSelection->Contains(m_nIndex)) {
        if (m_bCaretExists)
            DestroyCaret();
        m_bCaretExists = 0;
        return;
    }
    int created = 0;
    if (!m_bCaretExists) {
        // The caret belongs to the thread: a view without the focus would take it away
        // from the one that has it.
        if (!HasFocus())
            return;
        DestroyCaret();
        CreateCaret(m_hWnd, nullptr, 2, m_nLineHeight);
        m_bCaretExists = 1;
        created = 1;
    }
    POINT current;
    GetCaretPos(&current);
    if (created || current.x != q.x || current.y != q.y) {
        SetCaretPos(q.x, q.y);
        ShowCaret(m_hWnd);
    }
}
