#pragma once
// The main window: menus, the navigation tree, the pages (their tabs hidden), the
// workspace panel with the trees of the project's series and models, the worker frame
// and the close question. The pages do their own work; this window switches them,
// wires the project's change events to the trees and runs the project commands.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "core/Project.h"
#include "identification/Analyzer.h"
#include "ui/mainwindow/MainPage.h"
#include "ui/widgets/TForm17.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class PanelSplitter;
class QStackedWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QGroupBox;
class QMimeData;
class DataPage;
class Prompter;
class ModelTrees;
class TFragmentChart;
class TForm2;
class TForm3;
class TForm8;
class TForm9;
class TForm12;
class TForm18;
class TForm10;
class TForm17;
class TForm22;
class TWorkerThread;
class WorkspaceTree;

// The windows and the prompt service the main window works with; any left null is made
// by the window itself (message boxes and file dialogs for the prompter).
struct TForm1Services {
    Prompter* prompter = nullptr;
    TForm2* about = nullptr;
    TForm3* busy = nullptr;
    // The data page's windows: quick-load options, progress, format help.
    TForm9* quickLoad = nullptr;
    TForm10* progress = nullptr;
    TForm22* formatHelp = nullptr;
    // The model-name dialog shared by the identification pages.
    TForm17* modelName = nullptr;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    using Services = TForm1Services;

    static constexpr int kPageCount = 10;
    static constexpr int kStartPage = 7;
    // Page of each navigation node (absolute index); -1 for group nodes.
    static constexpr std::array<int, 14> kNodePage = {-1, 0, 1, -1, 2, 3, -1, 4, 5, -1, -1, 6, 8, 9};

    explicit TForm1(Services services = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    Prompter& prompter() { return *prompter_; }
    // The document, the preparation pipeline and the engines.
    TAnalyzer& analyzer() { return *analyzer_; }
    TProject& project() { return analyzer_->project; }
    const TProject& project() const { return analyzer_->project; }

    // The interval chart of the fragment page.
    TFragmentChart* fragmentsChart = nullptr;
    TForm3* busyWindow() const;
    TForm2* aboutWindow() const;

    // --- Pages ---
    MainPage* page(int index) const;
    // Puts a page in place of the one at `index` (the old one is deleted). Controls the
    // window made for that page (the fragment chart) move to the new page through its
    // placeControl.
    void setPage(int index, MainPage* page);
    void setActivePage(int index);
    int activePage() const { return activePage_; }
    QStackedWidget* pages() const { return PageControl1; }

    // --- Navigation ---
    // Shows the page of the navigation tree's current node; group nodes change nothing.
    void TreeView2Click();
    // The hint of a navigation node.
    QString TreeView2Hint(int node) const;
    QTreeWidgetItem* navigationNode(int absoluteIndex) const;
    // Toggles the workspace panel between collapsed and expanded.
    void Image1Click();
    bool workspaceExpanded() const;
    // Opens the workspace panel when it is collapsed.
    void expandWorkspace();

    // The model-name dialog of the identification pages' saving.
    TForm17* modelNameDialog() const { return modelName_; }

    // --- Page handlers: the window's own step, then the page's ---
    void TabSheet7Show();
    void TabSheet6Show();
    void TabSheet4Hide();
    void TabSheet2Show();
    void TabSheet5Show();
    void TabSheet14Show();
    void TabSheet17Show();

    // --- Commands ---
    // Shows the about box without making it modal.
    void N6Click();
    // Copies a picture of a chart or grid to the clipboard; anything else does nothing.
    // Without an argument the control that opened the copy menu is used.
    void N26Click(QWidget* source = nullptr);
    // Lets a chart or grid open the copy menu with its right mouse button.
    void attachCopyPicture(QWidget* control);

    // --- Project and series commands ---
    void N2Click();   // "Новый"
    void N3Click();   // "Загрузить"
    void N5Click();   // "Сохранить"
    void N25Click();  // "Сохранить как"
    // True when the project was written and is now bound to its folder.
    bool saveProject();
    bool saveAsProject();
    // Applies a project read on the load thread: series, models and intervals into the
    // project, the intervals drawn on the chart again, the fragment series computed.
    bool loadProjectProc(ProjectReadResult&& loaded);
    // Resets the window and makes the project new.
    void clear();
    // Copies the chart's intervals into the project while its needCalcFragment is set.
    void loadFragments();

    // --- The data page's work, for the other pages ---
    DataPage* dataPage() const;
    // Refills the file-information grid (and with it the filter page's parameter list).
    void refreshFileInfo();
    // Checks the loaded time column for equal steps; its messages are warnings.
    bool checkTimeColumn();

    // --- Workspace trees ---
    void loadSeries();
    void loadStatModel();
    void loadDynModel();
    // Node 0 of the navigation tree: "Данные (" name ")" while the project has a folder.
    void refreshProjectCaption();
    WorkspaceTree* seriesTree() const { return TreeView1; }
    WorkspaceTree* staticModelTree() const { return TreeView3; }
    WorkspaceTree* dynamicModelTree() const { return TreeView4; }
    // Project index of the series that carries `id`, or -1 when it is gone.
    int seriesIndexOf(uint64_t id) const;
    // The series that carries `id`, or null when it is gone.
    TStatisticSeries* seriesById(uint64_t id);
    // Id of the project series at `index` (0 when out of range).
    uint64_t seriesIdAt(int index) const;
    // Index of the primary selected series of the series tree, or -1.
    int selectedSeriesIndex() const;
    // Project indices of every selected series in the order of selection, each once.
    std::vector<int> selectedSeriesIndices() const;

    // The series a drop from the series tree carries, as project indices: the primary one
    // and all selected ones in selection order, each once; series deleted since the drag
    // began are left out. nullopt for a drop from anywhere else or with no series left.
    struct DroppedSeries {
        int primary = -1;
        std::vector<int> selected;
    };
    std::optional<DroppedSeries> droppedSeries(const QMimeData* mime) const;

    // The series pop-up: prepares its items for the current selection.
    void PopupMenuSeriesPopup();
    void N16Click();  // laboratory flag
    void N15Click();  // delete the selected series
    void N17Click();  // delete all series
    void N18Click();  // shift of the selected series (TForm12)
    void N4Click();   // export of series (TForm8)
    void N27Click();  // synchronisation (TForm18)
    TForm8* exportDialog() const { return form8_; }
    TForm12* shiftDialog() const { return form12_; }
    TForm18* syncDialog() const { return form18_; }
    // A selection change in any of the three workspace trees: unless Ctrl is held, the
    // series tree keeps only its primary node of several selected ones.
    void TreeView1Changing(Qt::KeyboardModifiers modifiers);
    // Index of the primary selected static or dynamic model, or -1.
    int selectedStaticModelIndex() const;
    int selectedDynamicModelIndex() const;
    // The commands of the model trees (menus, viewers, export, deletion).
    ModelTrees* modelTrees() const { return modelTrees_; }
    QMenu* staticModelMenu() const;
    QMenu* dynamicModelMenu() const;
    // Right click on a workspace tree: selects the node under `pos`, then opens its menu.
    void TreeView1ContextPopup(WorkspaceTree* tree, const QPoint& pos);
    // Double click on the series tree: the statistics page recomputes its statistics.
    void reloadPage();
    QMenu* seriesMenu() const { return PopupMenuSeries; }

    // --- Worker threads ---
    // Runs the worker inside the busy frame; a failure is reported and false returned.
    bool runWorker(TWorkerThread& thread);
    bool workerRunning() const { return workerRunning_; }

    // Runs a menu command; an error that escapes it is told and the window stays usable.
    void runCommand(const std::function<void()>& command);

    // Asks, when needed, whether the open work may be dropped; true to go on.
    bool confirmDiscard();

signals:
    // Each page handler announces itself after it has run (for the pages and for tests).
    void pageHandlerRan(const QString& handler);
    // The project's change events, passed on to the pages after the window's own step
    // (the workspace trees are rebuilt first).
    void seriesListChanged();
    void fragmentsListChanged();
    void staticModelsChanged();
    void dynamicModelsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void connectCommand(QAction* item, void (TForm1::*command)());
    void buildNavigation();
    void buildPages();
    void buildWorkspace();
    void pageChanged(int index);
    void highlightNavigationNode(int pageIndex);
    void runShowHandler(int index);
    void runHideHandler(int index);
    void setWorkspaceExpanded(bool expanded);
    void createFragmentsChart();
    void buildDataPage(const Services& services);
    bool projectHoldsWork() const;

    std::unique_ptr<Prompter> ownPrompter_;
    std::unique_ptr<TAnalyzer> analyzer_;
    Prompter* prompter_ = nullptr;
    QPointer<TForm2> about_;
    QPointer<TForm3> busy_;
    QPointer<TForm17> modelName_;
    bool modelNameGiven_ = false;  // made at start-up, owned there; this window is its parent
    TForm8* form8_ = nullptr;
    TForm12* form12_ = nullptr;
    TForm18* form18_ = nullptr;
    bool workerRunning_ = false;
    int activePage_ = -1;

    QStackedWidget* PageControl1 = nullptr;
    QTreeWidget* TreeView2 = nullptr;
    std::array<QTreeWidgetItem*, 14> navNodes_{};
    QPlainTextEdit* Memo1 = nullptr;
    PanelSplitter* Splitter5 = nullptr;
    QWidget* GroupBox21 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label15 = nullptr;
    QTabWidget* PageControl6 = nullptr;
    int pageControl6Width_ = 190;
    // The user has sized the workspace panel: it no longer widens for long names.
    bool panelWidthChosen_ = false;
    WorkspaceTree* TreeView1 = nullptr;
    WorkspaceTree* TreeView3 = nullptr;
    WorkspaceTree* TreeView4 = nullptr;
    QMenu* copyPicture = nullptr;
    QMenu* PopupMenuSeries = nullptr;
    ModelTrees* modelTrees_ = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QPointer<QWidget> copyPictureSource_;
};
