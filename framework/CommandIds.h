#pragma once

// Command and window ids the document/view layer knows by number; resources
// and menus of the programs use the same values.
enum FrameworkCommand : unsigned
{
    kIdFileNew = 57600,
    kIdFileOpen = 57601,
    kIdFileClose = 57602,
    kIdFileSave = 57603,
    kIdFileSaveAs = 57604,
    kIdFilePrintSetup = 57606,
    kIdFilePrint = 57607,
    kIdFilePrintPreview = 57609,
    kIdFileMruFirst = 57616,
    kIdFileMruLast = 57631,
    kIdEditCopy = 57634,
    kIdEditCut = 57635,
    kIdEditPaste = 57637,
    kIdEditUndo = 57643,
    kIdEditRedo = 57644,
    kIdWindowNew = 57648,
    kIdWindowArrange = 57649,
    kIdWindowCascade = 57650,
    kIdWindowTileHorz = 57651,
    kIdWindowTileVert = 57652,
    kIdAppAbout = 57664,
    kIdAppExit = 57665,
    kIdNextPane = 57680,
    kIdPrevPane = 57681,
    kIdViewToolbar = 59392,
    kIdViewStatusBar = 59393,
    kIdPaneFirst = 59648,
    // Strings: the title of the application and the status bar's idle text.
    kIdsAppTitle = 57344,
    kIdsIdleMessage = 57345,
    // Window-list entries of the MDI client start here.
    kIdFirstMdiChild = 0xFF00,
};

// Asks a frame's children for their room: lParam points to a SizeParentLayout.
const unsigned kMsgSizeParent = 0x0361;
// Sent to a frame after an idle pass so that bars refresh their state.
const unsigned kMsgIdleUpdateCmdUi = 0x0363;
// Posted to the main frame when files of shell open requests wait to open.
const unsigned kMsgShellOpen = 0x0364;
