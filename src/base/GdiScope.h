#pragma once
#include <windows.h>

// A GDI object made for one piece of drawing, deleted when the scope ends. It must have
// been selected out of every device context by then (declare it before its CSelection).
class CGdiObject {
public:
    explicit CGdiObject(HGDIOBJ object) : m_hObject(object) {}
    ~CGdiObject()
    {
        if (m_hObject)
            DeleteObject(m_hObject);
    }
    HGDIOBJ Get() const { return m_hObject; }

private:
    CGdiObject(const CGdiObject&);
    CGdiObject& operator=(const CGdiObject&);
    HGDIOBJ m_hObject;
};

// Objects selected into a device context for one piece of drawing; the one selected before
// comes back when the scope ends.
class CGdiSelection {
public:
    CGdiSelection(HDC dc, HGDIOBJ object) : m_hDC(dc), m_hPrevious(SelectObject(dc, object)) {}
    ~CGdiSelection() { SelectObject(m_hDC, m_hPrevious); }
    void Select(HGDIOBJ object) { SelectObject(m_hDC, object); }

private:
    CGdiSelection(const CGdiSelection&);
    CGdiSelection& operator=(const CGdiSelection&);
    HDC m_hDC;
    HGDIOBJ m_hPrevious;
};
