#pragma once

#include <functional>
#include <list>
#include <vector>

#include <windows.h>

#include "framework/CommandTarget.h"
#include "framework/Window.h"

class CMDIChildWnd;
class CMDIFrameWnd;
class CMultiDocTemplate;
class CView;

// Where a view draws: the screen, a printer page or a preview of one. On a
// page the sizes are the printer's (device pixels and dots per inch), which
// a preview maps onto its smaller picture.
struct DrawContext
{
    HDC dc = nullptr;
    bool printing = false;
    int pageWidth = 0;
    int pageHeight = 0;
    int dpiX = 96;
    int dpiY = 96;
};

// A document: title, path, modified flag, its views, and the file commands
// Save, Save As and Close.
class CDocument : public CCmdTarget
{
public:
    CDocument();
    ~CDocument() override;

    const String& title() const { return title_; }
    // Also retitles the frames of the views.
    virtual void setTitle(const String& title);
    const String& pathName() const { return pathName_; }
    // Sets the path and the title (the file name); adds it to the recent
    // list when asked.
    virtual void setPathName(const String& path, bool addToRecent = true);
    bool isModified() const { return modified_; }
    void setModifiedFlag(bool modified = true) { modified_ = modified; }

    const std::vector<CView*>& views() const { return views_; }
    void addView(CView* view);
    void removeView(CView* view);
    // Child frames showing this document.
    int frameCount() const;
    void updateAllViews(CView* sender, LPARAM hint = 0, void* object = nullptr);

    CMultiDocTemplate* docTemplate() const { return template_; }
    void setDocTemplate(CMultiDocTemplate* docTemplate) { template_ = docTemplate; }

    virtual bool onNewDocument();
    virtual bool onOpenDocument(const String& path);
    virtual bool onSaveDocument(const String& path);
    // Saves to the path; an empty path asks for one.
    virtual bool doSave(const String& path, bool replace = true);
    // Asks to save a modified document: Yes saves, No drops, Cancel (or a
    // failed save) gives false.
    virtual bool saveModified();
    // Destroys every frame of the document, then the document.
    virtual void onCloseDocument();

    bool onCmdMsg(UINT id, CCmdUI* ui) override;

private:
    String title_;
    String pathName_;
    bool modified_;
    bool closing_;
    std::vector<CView*> views_;
    CMultiDocTemplate* template_;
};

// A view: a child window of its frame that draws its document.
class CView : public CWnd, public CCmdTarget
{
public:
    CView();
    ~CView() override;

    CDocument* document() const { return document_; }
    CMDIChildWnd* parentFrame() const;
    // Creates the window in the frame (the document is known before its
    // WM_CREATE).
    bool createView(CMDIChildWnd& frame, CDocument* document);

    virtual void onDraw(DrawContext& context) = 0;
    virtual void onInitialUpdate();
    virtual void onUpdate(CView* sender, LPARAM hint, void* object);
    virtual void onActivateView(bool activate);
    // Moves the DC's origin for drawing on the screen (scrolling).
    virtual void onPrepareDC(HDC dc);
    virtual int onCreate(CREATESTRUCTA* create);

    // File > Print and Print Preview.
    void onFilePrint();
    void onFilePrintPreview();

    bool onCmdMsg(UINT id, CCmdUI* ui) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onPaint() override;
    void onDestroy() override;
    void postNcDestroy() override;

private:
    CDocument* document_;
};

// A view whose drawing is larger than its window: scroll bars, a scroll
// position and line scrolling.
class CScrollView : public CView
{
public:
    CScrollView();

    void setScrollSizes(SIZE total);
    SIZE totalSize() const { return total_; }
    POINT scrollPosition() const;
    // Moves to the position (clamped) and repaints.
    void scrollToPosition(POINT position);
    void onPrepareDC(HDC dc) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void updateBars();
    void onScroll(int bar, UINT code);

    SIZE total_;
    bool inUpdate_;
};

// The multiple-document template: a menu and accelerators of its resource
// id, its document string (fields separated by "\n") and factories for
// document, frame and view.
class CMultiDocTemplate
{
public:
    typedef std::function<CDocument*()> DocumentFactory;
    typedef std::function<CMDIChildWnd*()> FrameFactory;
    typedef std::function<CView*()> ViewFactory;

    CMultiDocTemplate(UINT resourceId, DocumentFactory document, FrameFactory frame,
                      ViewFactory view);
    ~CMultiDocTemplate();

    UINT resourceId() const { return resourceId_; }
    HMENU sharedMenu() const { return menu_; }
    HACCEL accelerators() const { return accelerators_; }
    // Field of the document string: 0 window title, 1 document name, 2 new
    // file name, 3 filter name, 4 filter extension, 5 file type id, 6 type
    // name.
    String docString(int field) const;

    // Opens the file (null path: a new document) in a new frame and shows
    // it; a file already open is only activated. Null when it failed.
    CDocument* openDocumentFile(const char* path, bool makeVisible = true);
    CDocument* createNewDocument();
    CMDIChildWnd* createNewFrame(CDocument* document);
    void initialUpdateFrame(CMDIChildWnd* frame, CDocument* document, bool makeVisible = true);
    void removeDocument(CDocument* document);
    const std::list<CDocument*>& documents() const { return documents_; }
    void closeAllDocuments();
    bool saveAllModified();

private:
    UINT resourceId_;
    HMENU menu_;
    HACCEL accelerators_;
    String docString_;
    DocumentFactory makeDocument_;
    FrameFactory makeFrame_;
    ViewFactory makeView_;
    std::list<CDocument*> documents_;
    int untitledCount_;
};
