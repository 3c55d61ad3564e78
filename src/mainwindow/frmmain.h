#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QCoreApplication>
#include <QImage>
#include <QMainWindow>

#include "document/FileDialogs.h"
#include "document/SessionStore.h"
#include "document/SystemClipboard.h"
#include "imageops/Random.h"
#include "mainwindow/CanvasView.h"
#include "mainwindow/DrawingState.h"
#include "mainwindow/LibraryLister.h"
#include "mainwindow/RectShape.h"
#include "mainwindow/SharedAccessKeys.h"
#include "mainwindow/UndoImageWriter.h"
#include "mainwindow/ViewZoom.h"
#include "mainwindow/WindowToolEnvironment.h"
#include "mainwindow/tools/ToolSet.h"
#include "surface/PictureBox.h"

class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QScrollBar;
class QStatusBar;
class QTimer;
class QToolButton;
class dColorPallete;

// The main window: the canvas, the tool box with its option strip, the palette, the menu and
// the status bar, and the shared drawing state the pointer handlers work on. Its handlers
// keep the names of the controls and events they belong to; tools and commands do the work.
class frmmain : public QMainWindow {
    Q_OBJECT
  public:
    // A window with a new session of the user's session store for its working files.
    explicit frmmain(QWidget* parent = nullptr);
    // The same with the working files in `session` (tests choose the folder).
    explicit frmmain(std::unique_ptr<nt::Session> session, QWidget* parent = nullptr);
    ~frmmain() override;

    // ---- start-up and keyboard ----
    // The start-up sequence; `applicationFolder` is where Data/ is looked for.
    void Form_Load();
    void Form_Load(const QString& applicationFolder);
    // The same, opening `pictureToOpen` (when not empty) in place of the new-canvas dialog.
    void Form_Load(const QString& applicationFolder, const QString& pictureToOpen);
    // A typed character: the lower-case x swaps the two colours.
    void Form_KeyPress(int keyAscii);
    // Status panel 3: the canvas size.
    void SetCanvasSizeText();

    // ---- tool box and options ----
    void Command1_Click(int index);
    void cboDW_Click();
    void cboStyle_Click();
    void cboCloneSize_Click();
    void cboBrush_Click();
    void cboPatten_Click();
    // List the libraries a chunk at a time; the brush list follows the pattern list.
    void LoadPatternList();
    void LoadBrushList();
    bool librariesListed() const { return librariesListed_; }
    // The current tool's button shows pressed (none while CurTool is -1).
    void showCurrentTool();

    // ---- pointer pipeline on the canvas ----
    void SrcDc_MouseDown(int button, int shift, double x, double y);
    void SrcDc_MouseMove(int button, int shift, double x, double y);
    void SrcDc_MouseUp(int button, int shift, double x, double y);
    void SrcDc_DblClick();
    // A released key on the canvas: Delete cuts the visible selection.
    void SrcDc_KeyUp(int keyCode, int shift);

    // ---- menu commands ----
    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuSave_Click();
    void leter_Click();
    void mnuClear_Click();
    void mnuExit_Click();
    void mnuundo1_Click();
    void mnuundo_Click();
    void mnuSnapshots_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    // "粘贴为新图片(&W)": a new canvas holding the clipboard's picture, after the save window.
    void mnuPasteNew_Click();
    void MnuDQue_Click();
    void mnuScale_Click();
    void mnuFlipV_Click();
    void mnuFlipHoz_Click();
    void mnuBoth_Click();
    void mnuMask_Click();
    void mnuStroke_Click();
    void mnuMirror_Click();
    void mnuAddNoise_Click();
    void mnuBlur_Click();
    void mnuBlureMore_Click();
    void mnuSharpen_Click();
    void mnuSharpMore_Click();
    void mnuPixel_Click();
    void mnuDiffuse_Click();
    void mnuAdjust_Click();
    void mnuBright_Click();
    void mnuInvert_Click();
    void mnuGray_Click();
    void mnuRed_Click();
    void mnuGreen_Click();
    void mnuBlue_Click();
    void mnuforum_Click();
    void mnuwebsite_Click();
    void mnuAbout_Click();
    void mnuupdate_Click();

    // ---- document: snapshot timer, file dialog and the end of the program ----
    QTimer* Timer10 = nullptr;  // the snapshot, every minute while the window exists
    void Timer10_Timer();
    // The open and save commands' file dialog; tests answer it without a window.
    std::function<QString(QWidget*, const nt::FileDialogRequest&)> chooseFile = &nt::runFileDialog;
    // Ends the program once a close request was answered; tests replace it.
    std::function<void()> endProgram = &QCoreApplication::quit;

    // ---- workspace: scroll bars, corner button and the resize grips ----
    void vBar_Change();
    void hBar_Change();
    void pGrip_MouseDown(int index, int button, int shift, double x, double y);
    void pGrip_MouseMove(int index, int button, int shift, double x, double y);
    void itouch_MouseDown(int index, int button, int shift, double x, double y);
    void itouch_MouseMove(int index, int button, int shift, double x, double y);
    void pSpacer_Click();

    // ---- shared state and work surfaces ----
    nt::DrawingState state;
    // The one uniform generator of the program: airbrush, noise and diffuse draw from it.
    nt::UniformRandom random;
    nt::Surface& canvas() { return SrcDc->surface(); }
    // The undo image of the last press, in memory and being written to "undo.bmp".
    nt::UndoImageWriter& undoImage() { return undoImage_; }
    // The last snapshot, in memory and being written to "backup.bmp".
    nt::UndoImageWriter& backupImage() { return backupImage_; }
    // Where this window's working files are.
    nt::Session& session() { return *session_; }
    const nt::tools::ToolSet& tools() const { return tools_; }
    QString statusText(int panel) const;  // panel 1..3

    std::unique_ptr<nt::Surface> pSrc21;     // paste buffer
    std::unique_ptr<nt::Surface> SrcBrush1;  // the magic pen's brush as loaded
    std::unique_ptr<nt::Surface> SrcBrush2;  // its recoloured copy
    std::unique_ptr<nt::Surface> pMask;      // picture background work surface
    std::unique_ptr<nt::Surface> pSrc2;      // kept as designed; nothing uses it
    QImage ImgPatten;                        // the fill pattern

    // ---- controls ----
    QWidget* pTop = nullptr;
    QWidget* pTools = nullptr;
    std::array<QToolButton*, nt::kToolCount> Command1{};
    QWidget* pHolder = nullptr;
    nt::CanvasView* SrcDc = nullptr;
    QScrollBar* vBar = nullptr;
    QScrollBar* hBar = nullptr;
    QToolButton* pSpacer = nullptr;
    std::array<nt::PictureBox*, 10> pGrip{};
    nt::PictureBox* itouch = nullptr;  // the control array's only element, index 3
    nt::RectShape* shpSelect = nullptr;
    nt::RectShape* shpClone = nullptr;
    dColorPallete* dColorPallete1 = nullptr;
    QLabel* Label10 = nullptr;  // colour 1 before the last swatch press
    QLabel* Label11 = nullptr;  // the palette hint
    QStatusBar* sbar1 = nullptr;
    std::array<QLabel*, 3> sbar1Panels{};
    QLabel* sbarZoom = nullptr;  // "缩放:100%"

    QWidget* pDrawWidth = nullptr;
    QLabel* lbldWidth = nullptr;
    QComboBox* cboDW = nullptr;
    QLabel* lblStyle = nullptr;
    QComboBox* cboStyle = nullptr;
    QWidget* pFillType = nullptr;
    QLabel* lblFillType = nullptr;
    QComboBox* cboFillType = nullptr;
    QLabel* lblPatten = nullptr;
    QComboBox* cboPatten = nullptr;
    QWidget* pBrush = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cboBrush = nullptr;
    QWidget* pErase = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cboWidth = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cboEraseType = nullptr;
    QWidget* pClone = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* cboCloneSize = nullptr;
    QWidget* pGrad = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* cboGrade = nullptr;
    QWidget* pTextStyle = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* cboTextStyle = nullptr;

    // ---- menu ----
    QMenu* mnuFile = nullptr;
    QAction *mnuNew = nullptr, *mnuOpen = nullptr, *mnuSave = nullptr, *Blank1 = nullptr;
    QMenu* letter = nullptr;
    QAction *leter = nullptr, *fgx1 = nullptr, *mnuClear = nullptr, *sepa6 = nullptr,
            *mnuExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction *mnuundo1 = nullptr, *mnuundo = nullptr, *mnuSnapshots = nullptr, *sepa11 = nullptr,
            *mnuCut = nullptr, *mnuCopy = nullptr, *mnuPaste = nullptr, *mnuPasteNew = nullptr,
            *MnuDQue = nullptr;
    QMenu* mnuImage = nullptr;
    QAction *mnuScale = nullptr, *sapa = nullptr;
    QMenu* mnuFlip = nullptr;
    QAction *mnuFlipV = nullptr, *mnuFlipHoz = nullptr, *mnuBoth = nullptr, *mnuBlank2 = nullptr;
    QMenu* backcolor = nullptr;
    QAction* mnuMask = nullptr;
    QAction* mnuStroke = nullptr;
    QMenu* mnuFilter = nullptr;
    QAction *mnuMirror = nullptr, *mnuAddNoise = nullptr;
    QMenu* mnuSoft = nullptr;
    QAction *mnuBlur = nullptr, *mnuBlureMore = nullptr;
    QMenu* mnuSharp = nullptr;
    QAction *mnuSharpen = nullptr, *mnuSharpMore = nullptr, *mnuPixel = nullptr,
            *mnuDiffuse = nullptr;
    QMenu* mnucol = nullptr;
    QAction *mnuAdjust = nullptr, *mnuBright = nullptr, *mnuInvert = nullptr, *mnuGray = nullptr;
    QMenu* mnuRemove = nullptr;
    QAction *mnuRed = nullptr, *mnuGreen = nullptr, *mnuBlue = nullptr;
    QMenu* mnuhelp = nullptr;
    QAction *mnuforum = nullptr, *mnuwebsite = nullptr, *mnuAbout = nullptr;
    QAction* mnuupdate = nullptr;
    QMenu* mnuView = nullptr;
    QAction *mnuZoomIn = nullptr, *mnuZoomOut = nullptr, *mnuActual = nullptr, *mnuFit = nullptr,
            *sepaView = nullptr, *mnuGrid = nullptr;

    // ---- view: the zoom (a view setting only; the picture never learns it) ----
    void mnuZoomIn_Click();
    void mnuZoomOut_Click();
    void mnuActual_Click();
    void mnuFit_Click();
    void mnuGrid_Click();
    const nt::ViewZoom& zoom() const { return zoom_; }
    // Changes the zoom level keeping the picture point under `anchor` (workspace coordinates)
    // where it is, as far as the scroll ranges allow.
    void setZoomLevel(int level, QPointF anchor);
    // The middle of the part of the workspace the scroll bars leave free.
    QPointF viewCentre() const;

  signals:
    // The brush and pattern lists are complete (start-up listing).
    void LibrariesListed();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;  // refused until the save window is answered
    // A picture file dropped on the window opens as the open command opens it.
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    // construction
    void buildContainers();
    void buildToolBox();
    void buildOptionPanels();
    void buildPalette();
    void buildStatusBar();
    void buildWorkSurfaces();
    void buildMenu();
    void buildView();  // the View menu and the zoom's status field
    bool zoomWheel(QWidget* over, QEvent* e);
    QSize canvasViewSize() const;  // the canvas on screen, zoomed
    void watchTypedKeys();
    // The first menu-bar item with the access key of `key` when several items share it.
    QAction* sharedMenuBarAccessKey(const QKeyEvent& key) const;
    void connectLibraries();
    QMenu* addSubmenu(QWidget* in, const char* name, const QString& caption);
    QAction* addCommand(QWidget* in, const char* name, const QString& caption,
                        const QKeySequence& shortcut, void (frmmain::*handler)());
    QAction* addSeparator(QMenu* in, const char* name);

    // start-up
    void fillOptionLists();
    void afterShown();
    void finishLibrary(QComboBox* list, void (frmmain::*select)());

    // layout of the containers; the workspace's scroll bars and grips come with the workspace
    void LayoutWorkspace();
    void LayoutGrips();
    void UpdateScrollRanges();
    void buildWorkspace();
    void placeScrollBars();  // the scroll bars' and the corner button's part of LayoutWorkspace
    void showScrollBars();   // each bar shown exactly while it is enabled
    void dragGripTo(int index, double dx, double dy);
    // The new-canvas dialog of start-up and the canvas reset it asks for.
    void StartupNewCanvas();
    // Offers the pictures of crashed sessions back; true when one became the canvas.
    bool OfferRecovery();
    // document commands' pieces
    void ResetCanvas(bool newCanvasCommand);
    // The chosen path, empty when cancelled; `chosenType`, when given, gets the file type.
    QString ShowFileDialog(bool open, const QString& title, QString* chosenType = nullptr);
    // Opens a picture onto the canvas, or reports why not; an empty path does the rest of the
    // open command only (a cancelled dialog).
    void OpenPicture(const QString& path);
    // Loads `path` into the canvas as Undo and Restore do; `writer`, when given, is the one
    // writing that file.
    void LoadWorkingFile(nt::UndoImageWriter* writer, const QString& path);
    // The open command's steps after its dialog, for a file dropped on the window.
    void OpenDropped(const QString& path);
    void startSnapshots();
    // A normal close: the session is marked closed and old ended sessions go.
    void EndSession();

    // pointer pipeline pieces
    nt::tools::ToolContext toolContext() { return {canvas(), state, &toolEnvironment_}; }
    nt::tools::Tool* currentTool() const { return tools_.at(state.CurTool); }
    void PastePreview(double x, double y);
    void PastePlace(double x, double y);
    // Copies the selection into the clipboard and, with `erase`, clears it to the background.
    // Throws SurfaceSizeError, changing nothing, when the clipboard would be beyond the limit.
    void CopySelection(bool copy, bool erase);
    // Makes another program's picture on the system clipboard the internal clipboard when
    // it is newer than ours; false, after the error window, when it is too large or damaged.
    bool TakeSystemClipboard();
    // Escape: a pending paste is given up and its preview taken away.
    void DropPaste();
    void setStatusText(int panel, const QString& text);
    void dColorPallete1_ItemClick();

    nt::SystemClipboard systemClipboard_;
    nt::tools::ToolSet tools_;
    nt::WindowToolEnvironment toolEnvironment_{*this};
    static constexpr int kUndoCopy = 0, kBackupCopy = 1;  // their copy slots of the canvas
    nt::SessionStore sessions_;
    std::unique_ptr<nt::Session> session_;  // before the writers, which write into it
    nt::UndoImageWriter undoImage_;
    nt::UndoImageWriter backupImage_;
    nt::LibraryLister patternLister_;
    nt::LibraryLister brushLister_;
    bool librariesListed_ = false;
    QString pictureToOpen_;  // named on the command line
    nt::SharedAccessKeys accessKeys_;
    nt::ViewZoom zoom_;
    int wheelRest_ = 0;  // wheel turn not yet amounting to a notch
};
