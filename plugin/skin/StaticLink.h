#pragma once

#include "foundation/String.h"
#include "framework/Controls.h"

// A static text that acts as a web link: underlined, blue until visited and
// purple after, with a link cursor; a click opens the address.
class CStaticLink : public CStatic
{
public:
    static const COLORREF kUnvisitedColour = RGB(0, 0, 255);
    static const COLORREF kVisitedColour = RGB(128, 0, 128);

    CStaticLink(const String& linkText, UINT cursorId);
    ~CStaticLink() override;

    bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onSetCursor(HWND window, UINT hitTest, UINT mouseMessage) override;

    // Opens the address; a failure beeps and leaves the link unvisited.
    void click();

    String linkText;
    UINT cursorId;
    bool visited;

private:
    HBRUSH colours(HDC dc);
    HFONT underlined_;
};
