#pragma once

#include "engine/DefaultRenderCallbacks.h"
#include "framework/DocView.h"
#include "shell/document/DocumentDib.h"
#include "shell/history/ActionHistory.h"
#include "shell/dialogs/DialogParameterRunner.h"
#include "shell/history/ImageStore.h"

class CDibView;
class CMainFrame;

// One open image: its named images, its edit history, the checkerboard copy
// that views draw of a transparent image, and the status and progress the
// main frame shows for it.
class CDibDoc : public CDocument
{
public:
    CDibDoc();
    ~CDibDoc() override;

    // The progress sink of the document's runs: the status-bar progress bar,
    // and after each run the views and the display copy.
    class ProgressSink : public DefaultRenderCallbacks
    {
    public:
        explicit ProgressSink(CDibDoc& document);
        bool progress(float fraction) override;
        void finished() override;
        void reserved() override;

    private:
        void done();
        CDibDoc& document_;
        bool flag_;
        HWND control_;
        int range_;
    };

    bool onOperationCommand(UINT id);
    // Operation key of a built-in command; "" when it has none.
    static String operationKeyForCommand(UINT id);
    void updateStatus();
    SIZE imageSize() const;
    const DocumentDib* imageToDraw();
    const DocumentDib* displayImage();
    void closeAllViews();
    void setLastView(CDibView* view) { lastView_ = view; }
    ActionHistory& history() { return history_; }
    ProgressSink& progressSink() { return sink_; }
    bool displayDirty() const { return displayDirty_; }

    bool onNewDocument() override;
    bool onOpenDocument(const String& path) override;
    bool onSaveDocument(const String& path) override;
    bool doSave(const String& path, bool replace = true) override;
    virtual bool promptSaveAs(const String& defaultName);
    bool onCmdMsg(UINT id, CCmdUI* ui) override;

    // The filter entry chosen last in Save As, kept while the program runs.
    static int& lastSaveFilterIndex();

private:
    void onEditUndoRedo(bool undo);
    void onImageInfo();
    void reportFailure();

    ProgressSink sink_;
    ImageStore store_;
    ActionHistory history_;
    DialogParameterRunner runner_;
    DocumentDib display_;
    bool displayDirty_;
    CDibView* lastView_;
};

CMainFrame* shellMainFrame();
