#include "shell/app/DibDoc.h"

#include <algorithm>
#include <cstring>

#include <commctrl.h>

#include "foundation/FileSystem.h"
#include "foundation/PropertyBag.h"
#include "framework/CommandIds.h"
#include "framework/MessageBox.h"
#include "framework/SaveFileDialog.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "image/Checkerboard.h"
#include "image/CompositeModes.h"
#include "image/GdiBridge.h"
#include "image/codecs/ImageLoading.h"
#include "shell/app/DibView.h"
#include "shell/app/MainFrame.h"
#include "shell/app/ProgressDialog.h"
#include "shell/app/ShellResources.h"
#include "shell/dialogs/SizeDialogs.h"
#include "shell/files/ShellImageFiles.h"
#include "shell/host/PluginModule.h"
#include "shell/host/PluginRegistry.h"
#include "shell/operations/ParameterSchema.h"
#include "shell/operations/ParameterRunner.h"

namespace {

HWND mainWindowHandle()
{
    CWinApp* app = CWinApp::currentApp();
    return app ? app->mainWindow : nullptr;
}

struct CommandKey
{
    UINT id;
    const char* key;
};

const CommandKey kCommandKeys[] = {
    {440, "vertflip"},          {441, "horzflip"},
    {444, "rotate90cw"},        {445, "rotate90ccw"},
    {456, "rotate180"},         {460, "resample"},
    {462, "crop"},              {470, "color_brightcontrast"},
    {474, "invertrgb"},         {476, "color_sepia"},
    {519, "blur_gauss"},        {520, "blur_rectangle"},
    {522, "blur_box"},          {523, "sharpen_unsharpmask"},
    {526, "color_huesaturation"}, {527, "color_levels"},
    {57637, "clipboardpaste"},
};

const UINT kOperationCommands[] = {440, 441, 444, 445, 456, 460, 462, 470,
                                   474, 476, 519, 522, 523, 526, 527, 57637};

bool isOperationCommand(UINT id)
{
    return std::find(std::begin(kOperationCommands), std::end(kOperationCommands), id) !=
           std::end(kOperationCommands);
}

} // namespace

CMainFrame* shellMainFrame()
{
    CWinApp* app = CWinApp::currentApp();
    return app ? dynamic_cast<CMainFrame*>(app->mainFrame()) : nullptr;
}

// -------------------------------------------------------------- ProgressSink

CDibDoc::ProgressSink::ProgressSink(CDibDoc& document)
    : DefaultRenderCallbacks(&flag_), document_(document), flag_(false), control_(nullptr),
      range_(0)
{
}

bool CDibDoc::ProgressSink::progress(float fraction)
{
    const bool stop = flag_;
    flag_ = false;
    const double scaled = double(fraction) * 1024.0;
    const unsigned value = scaled <= 0.0 ? 0u : unsigned(std::min(1024.0, scaled));
    if (!control_) {
        if (CMainFrame* frame = shellMainFrame())
            control_ = frame->showProgress();
        range_ = 0;
    }
    if (control_) {
        if (range_ != 1024) {
            SendMessageA(control_, PBM_SETRANGE32, 0, 1024);
            range_ = 1024;
        }
        SendMessageA(control_, PBM_SETPOS, value, 0);
    }
    return !stop;
}

void CDibDoc::ProgressSink::done()
{
    document_.displayDirty_ = true;
    if (control_) {
        if (CMainFrame* frame = shellMainFrame())
            frame->hideProgress();
        control_ = nullptr;
        range_ = 0;
    }
    document_.updateAllViews(nullptr, 2, nullptr);
}

void CDibDoc::ProgressSink::finished()
{
    done();
}

void CDibDoc::ProgressSink::reserved()
{
    done();
}

// ------------------------------------------------------------------- CDibDoc

CDibDoc::CDibDoc()
    : sink_(*this), history_(store_), runner_(mainWindowHandle()), displayDirty_(true),
      lastView_(nullptr)
{
    // While a parameter dialog is up its preview is the current image.
    runner_.previewShown = [this] {
        displayDirty_ = true;
        updateAllViews(nullptr, 2, nullptr);
    };
    history_.setParameterRunner(&runner_);
}

CDibDoc::~CDibDoc()
{
}

int& CDibDoc::lastSaveFilterIndex()
{
    static int index = 0;
    return index;
}

String CDibDoc::operationKeyForCommand(UINT id)
{
    for (const CommandKey& entry : kCommandKeys)
        if (entry.id == id)
            return entry.key;
    return PluginRegistry::instance().idForCommand(int(id));
}

void CDibDoc::reportFailure()
{
    // A cancelled or refused operation leaves no error and says nothing.
    if (!history_.lastError().empty())
        showMessageBox(mainWindowHandle(), history_.lastError(), String(), MB_ICONEXCLAMATION);
}

bool CDibDoc::onOperationCommand(UINT id)
{
    if (sink_.isCancelled())
        sink_.reset();
    DocumentDib* current = history_.currentImage();
    if (!current)
        return true;
    PropertyBag bag;
    const bool described =
        BuildParameterSchema(int(id), bag, *current, history_.parameterRunner());
    // A declined resample changes nothing.
    if (id == kCommandResample && !described)
        return true;
    WaitCursor wait;
    const String key = operationKeyForCommand(id);
    if (key.empty()) {
        showMessageBox(mainWindowHandle(), "This command is not available", String(),
                       MB_ICONEXCLAMATION);
        return true;
    }
    bool ok;
    if (PluginModule* plugin = PluginRegistry::instance().find(key)) {
        // The frame owns the plug-in's settings dialog, and is disabled
        // while the plug-in paints into this document's images.
        plugin->setParentWindow(mainWindowHandle());
        CProgressDialog dialog(plugin->menuName(), &sink_, mainWindowHandle());
        ok = history_.run(key, bag, dialog);
    } else {
        ok = history_.run(key, bag, sink_);
    }
    if (ok) {
        setModifiedFlag(true);
        updateStatus();
    } else {
        reportFailure();
    }
    return true;
}

void CDibDoc::updateStatus()
{
    CMainFrame* frame = shellMainFrame();
    const DocumentDib* image = history_.currentImage();
    if (!frame || !image)
        return;
    frame->setStatusText(1, String::fromFormat("%dx%d %s", image->width(), image->height(),
                                               image->format() == 4 ? "RGB" : "RGBA"));
    if (lastView_)
        frame->setStatusText(2, lastView_->zoomText());
}

SIZE CDibDoc::imageSize() const
{
    SIZE size = {0, 0};
    if (const DocumentDib* image = history_.currentImage()) {
        size.cx = image->width();
        size.cy = image->height();
    }
    return size;
}

const DocumentDib* CDibDoc::imageToDraw()
{
    const DocumentDib* image = history_.currentImage();
    if (!image || image->step() <= 3)
        return image;
    return displayImage();
}

const DocumentDib* CDibDoc::displayImage()
{
    if (!displayDirty_)
        return &display_;
    const DocumentDib* image = history_.currentImage();
    if (!image || image->isEmpty())
        return nullptr;
    if (!display_.create(image->width(), image->height(), 4))
        return nullptr;
    Checkerboard(Pixel(191, 191, 191, 255), Pixel(255, 255, 255, 255)).fill(display_);
    image->compositeOnto(display_, &lerpArgbBySourceAlpha);
    displayDirty_ = false;
    return &display_;
}

void CDibDoc::closeAllViews()
{
    for (CView* view : views())
        if (CMDIChildWnd* frame = view->parentFrame())
            PostMessageA(frame->hwnd(), WM_CLOSE, 0, 0);
}

bool CDibDoc::onNewDocument()
{
    try {
        CNewImageDialog dialog(mainWindowHandle());
        if (dialog.doModal() != IDOK)
            return false;
        if (!CDocument::onNewDocument())
            return false;
        DocumentDib* image = history_.currentImage();
        const int bits = dialog.bitsPerPixel();
        if (!image || !image->create(dialog.width, dialog.height, bits == 32 ? 6 : 4) ||
            image->isEmpty()) {
            showMessageBox(mainWindowHandle(), "Unable to create image", String(),
                           MB_ICONINFORMATION);
            return false;
        }
        // A new image starts white and opaque, never with whatever the
        // memory held.
        std::memset(image->bits(), 0xFF, size_t(image->stride()) * size_t(image->height()));
        displayDirty_ = true;
    } catch (...) {
        showMessageBox(mainWindowHandle(), "Unable to create image", String(), MB_ICONINFORMATION);
        return false;
    }
    updateStatus();
    return true;
}

bool CDibDoc::onOpenDocument(const String& path)
{
    if (!history_.load(path)) {
        showMessageBox(mainWindowHandle(), "Unable to open file\n" + path, String(), MB_OK);
        return false;
    }
    displayDirty_ = true;
    setPathName(path, true);
    setModifiedFlag(false);
    updateStatus();
    return true;
}

bool CDibDoc::onSaveDocument(const String& path)
{
    // Questions and the save dialog are owned by the frame.
    if (fileExists(path) &&
        showMessageBox(mainWindowHandle(), "overwrite existing file?", String(), MB_YESNO) !=
            IDYES)
        return false;
    bool ok;
    {
        WaitCursor wait;
        ok = history_.save(path);
    }
    if (!ok) {
        showMessageBox(mainWindowHandle(), "Unable to save image file\n" + path, String(),
                       MB_ICONEXCLAMATION);
        return false;
    }
    setModifiedFlag(false);
    setPathName(path, true);
    return true;
}

bool CDibDoc::doSave(const String& path, bool)
{
    if (!path.empty())
        return onSaveDocument(path);
    String name = pathName();
    if (name.empty()) {
        name = title();
        const size_t cut = name.find_first_of(" #%;/\\");
        if (cut != String::npos)
            name.resize(cut);
    }
    return promptSaveAs(name);
}

bool CDibDoc::promptSaveAs(const String& defaultName)
{
    const DocumentDib* image = history_.currentImage();
    if (!image)
        return false;
    struct Offer
    {
        int type;
        const char* filter;
    };
    static const Offer offers[] = {{kImageTypePng, "PNG (*.png)|*.png|"},
                                   {kImageTypeJpeg, "JPEG (*.jpg;*.jpeg)|*.jpg; *.jpeg|"},
                                   {kImageTypeBmp, "Bitmap (*.bmp)|*.bmp|"},
                                   {kImageTypeTga, "Targa (*.tga)|*.tga|"}};
    String filter;
    std::vector<int> types;
    for (const Offer& offer : offers)
        if (shellCanSaveImageAs(*image, offer.type)) {
            filter += offer.filter;
            types.push_back(offer.type);
        }
    filter += "|";
    while (true) {
        String path;
        int index = lastSaveFilterIndex();
        if (!askSaveFileName(mainWindowHandle(), filter, defaultName, index, path))
            return false;
        lastSaveFilterIndex() = index;
        const int byName = imageTypeFromFileName(path);
        if (byName <= 0 || byName == kImageTypeRaw) {
            if (index < 1 || size_t(index) > types.size()) {
                showMessageBox(mainWindowHandle(), "unable to save file - please select a file type",
                               String(), MB_OK);
                continue;
            }
            String extension = extensionForType(types[size_t(index - 1)]);
            if (!extension.empty() && extension[0] == '.')
                extension.erase(0, 1);
            path += "." + extension;
        }
        return onSaveDocument(path);
    }
}

void CDibDoc::onEditUndoRedo(bool undo)
{
    WaitCursor wait;
    const bool ok = undo ? history_.undo(sink_) : history_.redo(sink_);
    if (ok) {
        setModifiedFlag(true);
        updateStatus();
    } else {
        reportFailure();
    }
}

void CDibDoc::onImageInfo()
{
    const DocumentDib* image = history_.currentImage();
    if (!image)
        return;
    char text[128];
    wsprintfA(text,
              "Image Width = %u           \nImage Height = %u\nChannels = %u\nBits per pixel = %u",
              unsigned(image->width()), unsigned(image->height()), unsigned(image->step()),
              unsigned(image->step() * 8));
    showMessageBox(mainWindowHandle(), text, String(), MB_ICONINFORMATION);
}

bool CDibDoc::onCmdMsg(UINT id, CCmdUI* ui)
{
    if (id >= UINT(PluginRegistry::kFirstCommand) && id <= UINT(PluginRegistry::kLastCommand)) {
        PluginModule* plugin =
            PluginRegistry::instance().find(PluginRegistry::instance().idForCommand(int(id)));
        if (!plugin)
            return false;
        if (ui) {
            const DocumentDib* image = history_.currentImage();
            ui->enable(image && plugin->accepts(*image));
        } else {
            onOperationCommand(id);
        }
        return true;
    }
    if (id == kIdEditPaste) {
        if (ui)
            ui->enable(IsClipboardFormatAvailable(CF_DIB) != FALSE);
        else
            onOperationCommand(id);
        return true;
    }
    if (isOperationCommand(id)) {
        if (!ui)
            onOperationCommand(id);
        return true;
    }
    switch (id) {
    case kIdFileSaveAs:
        if (!ui)
            promptSaveAs(pathName());
        return true;
    case kIdFileSave:
        if (ui)
            ui->enable(!pathName().empty());
        else
            doSave(pathName());
        return true;
    case ID_IMAGE_INFO:
        if (!ui)
            onImageInfo();
        return true;
    case kIdEditUndo:
    case kIdEditRedo: {
        const bool undo = id == kIdEditUndo;
        if (ui) {
            const String name = undo ? history_.undoName() : history_.redoName();
            if (ui->kind == CCmdUI::kMenuItem) {
                ui->setText(undo ? "&Undo " + name + "\tCtrl+Z" : "&Redo " + name + "\tCtrl+Y");
            }
            ui->enable(undo ? history_.undoCount() > 0 : history_.redoCount() > 0);
        } else {
            onEditUndoRedo(undo);
        }
        return true;
    }
    case kIdEditCopy:
        if (!ui)
            if (const DocumentDib* image = history_.currentImage())
                copyImageToClipboard(*image, mainWindowHandle());
        return true;
    default:
        return CDocument::onCmdMsg(id, ui);
    }
}
