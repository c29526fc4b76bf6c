#include "ui/mainwindow/TForm1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <unordered_set>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <new>
#include <qcustomplot.h>

#include "core/FileSystem.h"
#include "core/FragmentCopy.h"
#include "core/ProjectFolder.h"
#include "exchange/DelayedSeries.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/dynamics/DynamicsPage.h"
#include "ui/pages/filter/FilterPage.h"
#include "ui/pages/fragments/FragmentPage.h"
#include "ui/pages/regression/RegressionPage.h"
#include "ui/pages/regularised/RegularisedPage.h"
#include "ui/pages/statistics/CorrelationChoice.h"
#include "ui/charts/FragmentChart.h"
#include "ui/mainwindow/Icons.h"
#include "ui/mainwindow/ModelTrees.h"
#include "ui/mainwindow/PanelSplitter.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/SeriesDrag.h"
#include "ui/mainwindow/TForm12.h"
#include "ui/mainwindow/TForm18.h"
#include "ui/mainwindow/TForm2.h"
#include "ui/mainwindow/TForm3.h"
#include "ui/mainwindow/TForm8.h"
#include "ui/mainwindow/Workers.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/widgets/TForm17.h"

namespace {

struct PageInfo {
    const char* name;
    const char* caption;
};
constexpr PageInfo kPages[TForm1::kPageCount] = {
    {"TabSheet1", "Общая"},
    {"TabSheet7", "Фильтрация"},
    {"TabSheet3", "Статистика"},
    {"TabSheet6", "Корреляция"},
    {"TabSheet4", "Выбор фрагментов"},
    {"TabSheet2", "Статистика по фрагментам"},
    {"TabSheet5", "Статическая идентификация"},
    {"FirstSheet", "Первая страница"},
    {"TabSheet14", "2 метод"},
    {"TabSheet17", "Динамика"},
};

struct NodeInfo {
    const char* caption;
    int level;
    int picture;
};
constexpr NodeInfo kNodes[14] = {
    {"Данные", 0, 0},
    {"Загрузка", 1, 1},
    {"Загрузка/преобразование", 1, 2},
    {"Подготовка данных", 0, 7},
    {"Статистики", 1, 3},
    {"Корреляция", 1, 4},
    {"Фрагментирование/анализ", 1, 5},
    {"Фрагменты", 2, 5},
    {"Статистики", 2, 3},
    {"Идентификация", 0, 6},
    {"Модели статики", 1, 6},
    {"Регрессия", 2, 6},
    {"Регуляризованная регрессия", 2, 6},
    {"Модели динамики", 1, 6},
};

const char* const kProjectFilter = "Проект|*.prj|Все файлы|*.*";
const char* const kProjectOpenQuestion = "Открыт файл проекта. Несохраненные данные будут потеряны. Продолжить?";
const char* const kUnsavedQuestion = "Несохраненные данные будут потеряны. Продолжить?";

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
const char* const kStartLine = "Пакет подготовки, статистической обработки и идентификации временных рядов Tarvolyn.";

QAction* action(QObject* parent, const char* name, const QString& caption) {
    auto* a = new QAction(caption, parent);
    a->setObjectName(QLatin1String(name));
    return a;
}

}  // namespace

TForm1::TForm1(Services services, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarvolyn"));
    if (services.prompter) {
        prompter_ = services.prompter;
    } else {
        ownPrompter_ = std::make_unique<DialogPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
    analyzer_ = std::make_unique<TAnalyzer>(prompter_);
    about_ = services.about ? services.about : new TForm2(this);
    busy_ = services.busy ? services.busy : new TForm3(this);
    modelName_ = services.modelName ? services.modelName : new TForm17(prompter_, this);
    modelName_->setReporter(prompter_);
    // The dialog made at start-up, before this window, is centred on the window it belongs
    // to: this one becomes its parent, and it stays a dialog of its own.
    if (modelName_->parentWidget() != this) {
        modelName_->setParent(this, modelName_->windowFlags());
        modelNameGiven_ = true;
    }

    buildMenus();
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    buildNavigation();
    buildPages();
    buildWorkspace();
    Splitter5 = new PanelSplitter(GroupBox21, central);
    Splitter5->setObjectName(QStringLiteral("Splitter5"));
    Splitter5->onResized = [this](int width) {
        panelWidthChosen_ = true;
        pageControl6Width_ = width - 10;
        GroupBox21->setFixedWidth(width);
    };
    // Until the user sizes it, the expanded panel widens (up to half the window) so that
    // the names in its trees are read in full.
    for (WorkspaceTree* tree : {TreeView1, TreeView3, TreeView4})
        connect(tree, &WorkspaceTree::needsWidth, this, [this](int more) {
            if (panelWidthChosen_ || !workspaceExpanded()) return;
            const int limit = std::max(PanelSplitter::kMinimumPanelWidth, width() / 2);
            const int wanted = std::min(GroupBox21->width() + more, limit);
            if (wanted <= GroupBox21->width()) return;
            pageControl6Width_ = wanted - 10;
            GroupBox21->setFixedWidth(wanted);
        });
    row->addWidget(TreeView2);
    row->addWidget(PageControl1, 1);
    row->addWidget(Splitter5);
    row->addWidget(GroupBox21);
    setCentralWidget(central);

    copyPicture = new QMenu(this);
    copyPicture->setObjectName(QStringLiteral("copyPicture"));
    QAction* N26 = action(copyPicture, "N26", QStringLiteral("Скопировать в буфер"));
    copyPicture->addAction(N26);
    connect(N26, &QAction::triggered, this, [this] { N26Click(); });

    createFragmentsChart();
    buildDataPage(services);
    setPage(1, new FilterPage(*this));
    buildStatisticsPages(*this);  // pages 2, 3 and 5
    setPage(4, new FragmentPage(*this));
    setPage(6, new RegressionPage(*this));
    setPage(8, new RegularisedPage(*this));
    setPage(9, new DynamicsPage(*this));

    // The project's events rebuild the trees and the caption, then reach the pages, whose
    // lists of series, intervals and models follow the project.
    analyzer_->project.FOnChangeSeriesList = [this](TProject&) {
        loadSeries();
        emit seriesListChanged();
    };
    analyzer_->project.FOnChangeFragmentsList = [this](TProject&) { emit fragmentsListChanged(); };
    analyzer_->project.FOnChangeStaticModelsList = [this](TProject&) {
        loadStatModel();
        emit staticModelsChanged();
    };
    analyzer_->project.FOnChangeDynamicModelsList = [this](TProject&) {
        loadDynModel();
        emit dynamicModelsChanged();
    };
    analyzer_->project.FOnChangeProject = [this](TProject&) { refreshProjectCaption(); };

    // Pop-up menus of the workspace trees.
    PopupMenuSeries = new QMenu(this);
    PopupMenuSeries->setObjectName(QStringLiteral("PopupMenuSeries"));
    QAction* N16 = action(PopupMenuSeries, "N16", QStringLiteral("Лабораторный анализ"));
    N16->setCheckable(true);
    QAction* N15 = action(PopupMenuSeries, "N15", QStringLiteral("Удалить ряд"));
    QAction* N17 = action(PopupMenuSeries, "N17", QStringLiteral("Удалить все ряды"));
    QAction* N18 = action(PopupMenuSeries, "N18", QStringLiteral("Выполнить сдвиг"));
    PopupMenuSeries->addActions({N16, N15, N17, N18});
    connectCommand(N16, &TForm1::N16Click);
    connectCommand(N15, &TForm1::N15Click);
    connectCommand(N17, &TForm1::N17Click);
    connectCommand(N18, &TForm1::N18Click);
    modelTrees_ = new ModelTrees(*this);
    for (WorkspaceTree* tree : {TreeView1, TreeView3, TreeView4})
        connect(tree, &QWidget::customContextMenuRequested, this,
                [this, tree](const QPoint& pos) { TreeView1ContextPopup(tree, pos); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { reloadPage(); });
    // The series tree's own clicks follow the extended selection; a click on a model node
    // without Ctrl leaves one series selected as well (rebuilds of the model trees do not).
    for (WorkspaceTree* tree : {TreeView3, TreeView4})
        connect(tree, &QTreeWidget::itemPressed, this,
                [this] { TreeView1Changing(QGuiApplication::keyboardModifiers()); });

    connectCommand(findChild<QAction*>(QStringLiteral("N2")), &TForm1::N2Click);
    connectCommand(findChild<QAction*>(QStringLiteral("N3")), &TForm1::N3Click);
    connectCommand(findChild<QAction*>(QStringLiteral("N5")), &TForm1::N5Click);
    connectCommand(findChild<QAction*>(QStringLiteral("N25")), &TForm1::N25Click);
    connectCommand(findChild<QAction*>(QStringLiteral("N4")), &TForm1::N4Click);
    connectCommand(findChild<QAction*>(QStringLiteral("N27")), &TForm1::N27Click);
    // The series windows of the menus, made once and reused.
    form8_ = new TForm8(*this, this);
    form12_ = new TForm12(this);
    form18_ = new TForm18(*this, this);

    // The start page first, so that switching to a work page later runs its handlers.
    connect(PageControl1, &QStackedWidget::currentChanged, this, &TForm1::pageChanged);
    PageControl1->setCurrentIndex(kStartPage);
    activePage_ = kStartPage;

    // The workspace panel is laid out 200 pixels wide, then collapsed.
    pageControl6Width_ = 200 - 10;
    setWorkspaceExpanded(false);
    TreeView2->expandAll();
    setWindowState(windowState() | Qt::WindowMaximized);
}

TForm1::~TForm1() {
    // The start-up's model-name dialog is freed by the start-up, not with this window.
    if (modelNameGiven_ && modelName_) modelName_->setParent(nullptr, modelName_->windowFlags());
    // The trees go before the project; nothing may reach them from it any more.
    analyzer_->project.FOnChangeSeriesList = nullptr;
    analyzer_->project.FOnChangeFragmentsList = nullptr;
    analyzer_->project.FOnChangeStaticModelsList = nullptr;
    analyzer_->project.FOnChangeDynamicModelsList = nullptr;
    analyzer_->project.FOnChangeProject = nullptr;
}

TForm3* TForm1::busyWindow() const { return busy_; }
TForm2* TForm1::aboutWindow() const { return about_; }

void TForm1::buildMenus() {
    QMenuBar* MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* N1 = MainMenu1->addMenu(QStringLiteral("Файл"));
    N1->setObjectName(QStringLiteral("N1"));
    N1->menuAction()->setObjectName(QStringLiteral("N1Action"));
    N1->addAction(action(this, "N2", QStringLiteral("Новый")));
    N1->addAction(action(this, "N3", QStringLiteral("Загрузить")));
    N1->addAction(action(this, "N5", QStringLiteral("Сохранить")));
    N1->addAction(action(this, "N25", QStringLiteral("Сохранить как")));
    N1->addSeparator();
    N1->addAction(action(this, "N4", QStringLiteral("Экпортировать полученные ряды")));

    QMenu* N7 = MainMenu1->addMenu(QStringLiteral("Параметры"));
    N7->setObjectName(QStringLiteral("N7"));
    N7->menuAction()->setObjectName(QStringLiteral("N7Action"));
    N7->addAction(action(this, "N27", QStringLiteral("Синхронизация")));

    QAction* N6 = action(this, "N6", QStringLiteral("О программме"));
    MainMenu1->addAction(N6);
    connect(N6, &QAction::triggered, this, &TForm1::N6Click);
}

void TForm1::buildNavigation() {
    TreeView2 = new QTreeWidget(this);
    TreeView2->setObjectName(QStringLiteral("TreeView2"));
    TreeView2->setHeaderHidden(true);
    TreeView2->setColumnCount(1);
    TreeView2->setRootIsDecorated(false);
    TreeView2->setIndentation(23);
    TreeView2->setIconSize(QSize(20, 20));
    TreeView2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView2->setSelectionMode(QAbstractItemView::SingleSelection);
    QTreeWidgetItem* parents[3] = {nullptr, nullptr, nullptr};
    for (int i = 0; i < 14; ++i) {
        const NodeInfo& n = kNodes[i];
        auto* item = n.level == 0 ? new QTreeWidgetItem(TreeView2) : new QTreeWidgetItem(parents[n.level - 1]);
        item->setText(0, QString::fromUtf8(n.caption));
        item->setIcon(0, QIcon(imageList2(n.picture)));
        item->setData(0, Qt::UserRole, i);
        parents[n.level] = item;
        navNodes_[static_cast<size_t>(i)] = item;
    }
    TreeView2->expandAll();
    // Wide enough for the deepest caption.
    int widest = 0;
    const QFontMetrics fm(TreeView2->font());
    for (int i = 0; i < 14; ++i)
        widest = std::max(widest, kNodes[i].level * 23 + 20 + 8 + fm.horizontalAdvance(navNodes_[size_t(i)]->text(0)));
    TreeView2->setFixedWidth(std::max(230, widest + 2 * TreeView2->frameWidth() + 16));
    connect(TreeView2, &QTreeWidget::itemClicked, this, [this] { TreeView2Click(); });
}

void TForm1::buildPages() {
    PageControl1 = new QStackedWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    for (int i = 0; i < kPageCount; ++i) {
        auto* p = new MainPage(QLatin1String(kPages[i].name), QString::fromUtf8(kPages[i].caption));
        PageControl1->addWidget(p);
    }
    // The start page: the product line in a read-only memo.
    MainPage* first = page(kStartPage);
    auto* lay = new QVBoxLayout(first);
    Memo1 = new QPlainTextEdit(first);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(21);
    Memo1->setFont(f);
    Memo1->setPlainText(QString::fromUtf8(kStartLine));
    lay->addWidget(Memo1);
}

void TForm1::buildDataPage(const Services& services) {
    DataPageServices s;
    s.form9 = services.quickLoad;
    s.form10 = services.progress;
    s.form22 = services.formatHelp;
    s.reporter = prompter_;
    s.chooseWorkbook = [this] { return prompter_->openFileName(FileKind::Workbook, ""); };
    s.runWorker = [this](const std::string& fileName, const std::function<void(const std::string&)>& work) {
        TOneMoreThread thread;
        thread.fileName = fileName;
        thread.FOnExecute = work;
        return runWorker(thread);
    };
    s.addSeries = [this](const TStatisticSeries& series, bool notify) { project().addSeries(series, false, notify); };
    s.filtering = &analyzer_->filtering;
    s.loadSeries = [this] { loadSeries(); };
    s.showPage = [this] { setActivePage(0); };
    s.mainWindow = this;
    setPage(0, new DataPage(s));
}

void TForm1::buildWorkspace() {
    GroupBox21 = new QWidget(this);
    GroupBox21->setObjectName(QStringLiteral("GroupBox21"));
    GroupBox21->setAutoFillBackground(true);
    QPalette pal = GroupBox21->palette();
    pal.setColor(QPalette::Window, QColor(0xD7, 0xE4, 0xF2));
    GroupBox21->setPalette(pal);
    auto* col = new QVBoxLayout(GroupBox21);
    col->setContentsMargins(5, 5, 5, 5);
    auto* head = new QHBoxLayout;
    Image1 = new QLabel(GroupBox21);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(16, 16);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);
    Label15 = new QLabel(QStringLiteral("Рабочая область"), GroupBox21);
    Label15->setObjectName(QStringLiteral("Label15"));
    Label15->setCursor(Qt::PointingHandCursor);
    Label15->installEventFilter(this);
    head->addWidget(Image1);
    head->addWidget(Label15, 1);
    col->addLayout(head);

    PageControl6 = new QTabWidget(GroupBox21);
    PageControl6->setObjectName(QStringLiteral("PageControl6"));
    PageControl6->setTabPosition(QTabWidget::East);
    TreeView1 = new WorkspaceTree(QStringLiteral("TreeView1"), true);
    TreeView3 = new WorkspaceTree(QStringLiteral("TreeView3"), false);
    TreeView4 = new WorkspaceTree(QStringLiteral("TreeView4"), false);
    const struct {
        const char* name;
        const char* caption;
        WorkspaceTree* tree;
    } tabs[] = {{"TabSheet18", "Параметры", TreeView1},
                {"TabSheet19", "Модели статики", TreeView3},
                {"TabSheet20", "Модели динамики", TreeView4}};
    for (const auto& t : tabs) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QLatin1String(t.name));
        auto* l = new QVBoxLayout(sheet);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(t.tree);
        PageControl6->addTab(sheet, QString::fromUtf8(t.caption));
    }
    PageControl6->setCurrentIndex(2);
    col->addWidget(PageControl6, 1);
}

MainPage* TForm1::page(int index) const {
    return qobject_cast<MainPage*>(PageControl1->widget(index));
}

void TForm1::setPage(int index, MainPage* p) {
    if (index < 0 || index >= kPageCount || !p) return;
    QWidget* old = PageControl1->widget(index);
    if (old == p) return;
    // Controls the window made for the page move over to the new one.
    if (GroupBox2 && old->isAncestorOf(GroupBox2)) p->placeControl(GroupBox2);
    const bool wasCurrent = PageControl1->currentIndex() == index;
    const QSignalBlocker block(PageControl1);
    PageControl1->insertWidget(index, p);
    PageControl1->removeWidget(old);
    if (wasCurrent) PageControl1->setCurrentIndex(index);
    delete old;
}

void TForm1::setActivePage(int index) {
    if (index < 0 || index >= kPageCount) return;
    PageControl1->setCurrentIndex(index);
}

void TForm1::pageChanged(int index) {
    // Hide the old page, then show the new one, once each per switch.
    const int old = activePage_;
    activePage_ = index;
    highlightNavigationNode(index);
    if (old == index) return;
    runHideHandler(old);
    runShowHandler(index);
}

void TForm1::highlightNavigationNode(int pageIndex) {
    // The node of the page shown is the highlighted one; the start page has none.
    QTreeWidgetItem* node = nullptr;
    for (size_t i = 0; i < kNodePage.size(); ++i)
        if (kNodePage[i] == pageIndex) node = navNodes_[i];
    if (node) {
        TreeView2->setCurrentItem(node);
    } else {
        TreeView2->clearSelection();
        TreeView2->setCurrentItem(nullptr);
    }
}

void TForm1::runHideHandler(int index) {
    if (index == 4) TabSheet4Hide();
    if (MainPage* p = page(index)) p->pageHidden();
}

void TForm1::runShowHandler(int index) {
    switch (index) {
    case 1: TabSheet7Show(); break;
    case 3: TabSheet6Show(); break;
    case 5: TabSheet2Show(); break;
    case 6: TabSheet5Show(); break;
    case 8: TabSheet14Show(); break;
    case 9: TabSheet17Show(); break;
    default: break;
    }
    if (MainPage* p = page(index)) p->pageShown();
}

void TForm1::TabSheet7Show() {
    // The filter page reads the loaded sheet with the data page's settings.
    refreshFileInfo();
    emit pageHandlerRan(QStringLiteral("TabSheet7Show"));
}
void TForm1::TabSheet6Show() { emit pageHandlerRan(QStringLiteral("TabSheet6Show")); }
void TForm1::TabSheet4Hide() {
    loadFragments();
    emit pageHandlerRan(QStringLiteral("TabSheet4Hide"));
}
void TForm1::TabSheet2Show() { emit pageHandlerRan(QStringLiteral("TabSheet2Show")); }
void TForm1::TabSheet5Show() {
    loadFragments();
    emit pageHandlerRan(QStringLiteral("TabSheet5Show"));
}
void TForm1::TabSheet14Show() {
    loadFragments();
    emit pageHandlerRan(QStringLiteral("TabSheet14Show"));
}
void TForm1::TabSheet17Show() {
    loadFragments();
    emit pageHandlerRan(QStringLiteral("TabSheet17Show"));
}

QTreeWidgetItem* TForm1::navigationNode(int absoluteIndex) const {
    if (absoluteIndex < 0 || absoluteIndex >= 14) return nullptr;
    return navNodes_[static_cast<size_t>(absoluteIndex)];
}

void TForm1::TreeView2Click() {
    QTreeWidgetItem* item = TreeView2->currentItem();
    if (!item) return;
    const int node = item->data(0, Qt::UserRole).toInt();
    if (node < 0 || node >= 14) return;
    const int target = kNodePage[static_cast<size_t>(node)];
    if (target >= 0) setActivePage(target);
    // A group node changes nothing, the highlight included.
    highlightNavigationNode(activePage_);
}

QString TForm1::TreeView2Hint(int node) const {
    if (node == 0 && analyzer_->project.projectAssign)
        return QStringLiteral("Данные ") + QString::fromStdString(analyzer_->project.projectSaveWay);
    return QString();
}

void TForm1::refreshProjectCaption() {
    QTreeWidgetItem* node = navNodes_[0];
    if (analyzer_->project.projectAssign)
        node->setText(0, QStringLiteral("Данные (") + QString::fromStdString(analyzer_->project.projectName) + QLatin1Char(')'));
    else
        node->setText(0, QStringLiteral("Данные"));
    node->setToolTip(0, TreeView2Hint(0));
}

bool TForm1::workspaceExpanded() const { return !PageControl6->isHidden(); }

void TForm1::setWorkspaceExpanded(bool expanded) {
    if (expanded) {
        Image1->setPixmap(imageList1(1));
        GroupBox21->setFixedWidth(pageControl6Width_ + 10);
        PageControl6->show();
        Label15->show();
        Splitter5->setEnabled(true);
    } else {
        Image1->setPixmap(imageList1(0));
        PageControl6->hide();
        // The caption does not fit the collapsed strip; the picture alone stays.
        Label15->hide();
        GroupBox21->setFixedWidth(Image1->width() + 10);
        Splitter5->setEnabled(false);
    }
}

void TForm1::Image1Click() { setWorkspaceExpanded(!workspaceExpanded()); }

void TForm1::expandWorkspace() {
    if (!workspaceExpanded()) setWorkspaceExpanded(true);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Image1 || watched == Label15) && event->type() == QEvent::MouseButtonRelease) {
        // The caption is hidden while the panel is collapsed; Image1 toggles it then.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            Image1Click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::N6Click() {
    if (about_) about_->showOver(this);
}

void TForm1::attachCopyPicture(QWidget* control) {
    if (!control) return;
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(control, &QWidget::customContextMenuRequested, this, [this, control](const QPoint& pos) {
        copyPictureSource_ = control;
        copyPicture->popup(control->mapToGlobal(pos));
    });
}

void TForm1::N26Click(QWidget* source) {
    QWidget* w = source ? source : copyPictureSource_.data();
    if (!w) return;
    if (auto* chart = qobject_cast<SeriesChart*>(w)) {
        chart->copyToClipboard();
        return;
    }
    QPixmap picture;
    auto* plot = qobject_cast<QCustomPlot*>(w);
    if (!plot) plot = w->findChild<QCustomPlot*>();
    if (plot) {
        picture = plot->toPixmap();
    } else if (auto* table = qobject_cast<QTableView*>(w)) {
        // The drawn part of the grid, from its top-left corner.
        const int fw = table->frameWidth();
        int width = 2 * fw + table->horizontalHeader()->length() +
                    (table->verticalHeader()->isVisible() ? table->verticalHeader()->width() : 0);
        int height = 2 * fw + table->verticalHeader()->length() +
                     (table->horizontalHeader()->isVisible() ? table->horizontalHeader()->height() : 0);
        width = std::min(width, table->width());
        height = std::min(height, table->height());
        if (width > 0 && height > 0) picture = table->grab(QRect(0, 0, width, height));
    }
    if (!picture.isNull()) QApplication::clipboard()->setPixmap(picture);
}

void TForm1::connectCommand(QAction* item, void (TForm1::*command)()) {
    connect(item, &QAction::triggered, this, [this, command] { runCommand([this, command] { (this->*command)(); }); });
}

void TForm1::runCommand(const std::function<void()>& command) {
    // An error escaping a command would end the program from inside the event loop; it is
    // told instead (the busy frame has already enabled the window again).
    std::string failure;
    try {
        command();
        return;
    } catch (const std::bad_alloc&) {
        failure = "недостаточно памяти";
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "неизвестная ошибка";
    }
    prompter_->error("Операция не выполнена: " + failure);
}

bool TForm1::runWorker(TWorkerThread& thread) {
    workerRunning_ = true;
    bool ok = false;
    try {
        ok = runInBusyFrame(this, busy_, thread);
    } catch (...) {
        thread.wait();
        thread.failure = std::current_exception();
        ok = false;
    }
    workerRunning_ = false;
    if (!ok) prompter_->error("Операция не выполнена: " + thread.failureText());
    return ok;
}

bool TForm1::projectHoldsWork() const {
    const TProject& p = analyzer_->project;
    return p.seriesCount() > 0 || !p.userFragments.empty() || p.statModelCount() > 0 || p.dynModelCount() > 0 ||
           (fragmentsChart && fragmentsChart->numOfFragments() > 0);
}

bool TForm1::confirmDiscard() {
    // A project bound to its folder is always asked about; work that was never saved
    // anywhere is asked about too, so it is not dropped silently.
    if (analyzer_->project.projectAssign) return prompter_->confirmation(kProjectOpenQuestion);
    if (projectHoldsWork()) return prompter_->confirmation(kUnsavedQuestion);
    return true;
}

// ---- Fragment chart ----

void TForm1::createFragmentsChart() {
    GroupBox2 = new QGroupBox;
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    page(4)->placeControl(GroupBox2);
    auto* boxLayout = new QVBoxLayout(GroupBox2);
    boxLayout->setContentsMargins(2, 2, 2, 2);
    fragmentsChart = new TFragmentChart(GroupBox2);
    fragmentsChart->setObjectName(QStringLiteral("fragmentsChart"));
    boxLayout->addWidget(fragmentsChart);
    // New intervals are good and painted; marking is off until the page switches it on.
    fragmentsChart->setTypeOfCurFragments(1);
    fragmentsChart->setPaintOfCurFragments(true);
    TChartAxisState& left = fragmentsChart->leftAxisState();
    left.setAutomatic(true);
    left.minimumOffset = 20;
    left.maximumOffset = 20;
    left.setMinMax(0, 100);
    fragmentsChart->setLegendCheckBoxes(true);
    fragmentsChart->setFragmentsOn(false);
    fragmentsChart->setZoomEnabled(true);
    fragmentsChart->setMiddleButtonScroll(true);
    fragmentsChart->setBottomDateTime("dd.mm.yy hh:mm");
    attachCopyPicture(fragmentsChart);
    // Every change of the intervals means the project's fragment series are out of date.
    connect(fragmentsChart, &TSmartChart::OnChangeFragments, this, [this] { analyzer_->project.needCalcFragment = true; });
}

void TForm1::loadFragments() {
    if (!fragmentsChart) return;
    // With the chart's ids, so that the pages' lists follow an interval the user renamed or
    // moved.
    copyChartFragments(analyzer_->project, fragmentsChart->fragments(), fragmentsChart->fragmentIds());
}

DataPage* TForm1::dataPage() const { return qobject_cast<DataPage*>(page(0)); }

void TForm1::refreshFileInfo() {
    if (DataPage* d = dataPage()) d->refreshFileInfo();
}

bool TForm1::checkTimeColumn() {
    DataPage* d = dataPage();
    return d && d->checkTimeColumn();
}

// ---- Project commands ----

void TForm1::clear() {
    analyzer_->clear();
    if (fragmentsChart) fragmentsChart->clear();
    for (int i = 0; i < kPageCount; ++i)
        if (MainPage* p = page(i)) p->clearPage();
}

void TForm1::N2Click() {
    if (workerRunning_ || !confirmDiscard()) return;
    clear();
    setActivePage(kStartPage);
}

void TForm1::N3Click() {
    if (workerRunning_ || !confirmDiscard()) return;
    const std::optional<std::string> chosen = prompter_->openFileName(FileKind::Project, kProjectFilter);
    if (!chosen) return;
    // Only a project file is loaded; a wrong pick leaves the open work as it is.
    if (!endsWith(*chosen, ".prj")) {
        prompter_->message("Ошибка открытия файла");
        return;
    }
    // The start page first, so that no page handler runs while the project is replaced.
    setActivePage(kStartPage);
    ProjectReadResult loaded;
    TloadThread thread;
    thread.name = *chosen;
    thread.FOnExecute = [&loaded](const std::string& name) { loaded = readProjectFolder(name); };
    if (!runWorker(thread)) return;
    // The open work is dropped only once the chosen project could be read.
    if (!loaded.opened) {
        prompter_->error(loaded.error);
        return;
    }
    clear();
    loadProjectProc(std::move(loaded));
}

bool TForm1::loadProjectProc(ProjectReadResult&& loaded) {
    if (!analyzer_->project.applyLoaded(std::move(loaded), prompter_)) return false;
    if (fragmentsChart) {
        fragmentsChart->delAllFragment();
        // All in one change, so the interval grid is filled once, not once per interval.
        fragmentsChart->addFragments(analyzer_->project.userFragments);
    }
    analyzer_->project.needCalcFragment = true;
    loadFragments();
    return true;
}

void TForm1::N5Click() { saveProject(); }

void TForm1::N25Click() { saveAsProject(); }

namespace {
bool pathExists(const std::string& path) { return QFileInfo::exists(QFile::decodeName(QByteArray::fromStdString(path))); }

std::string saveAsExistingQuestion(const std::string& chosen) {
    return "Файл \"" + fileNameOf(chosen) + "\" уже существует. Он не будет заменен: проект будет сохранен в новую папку \"" +
           projectFolderForSaveAs(chosen) + "\". Продолжить?";
}

// After the save worker: a failed write is shown and leaves the project as it was (an unsaved
// project stays unbound, nothing announced); a written one binds the project to its folder.
bool commitWritten(const ProjectWriteResult& written, Prompter& prompter, TProject& project) {
    if (!written.ok) {
        prompter.error(written.error);
        return false;
    }
    project.commitSave(written);
    return true;
}
}  // namespace

bool TForm1::saveProject() {
    if (workerRunning_) return false;
    if (!analyzer_->project.projectAssign || analyzer_->project.projectSaveWay.empty()) return saveAsProject();
    loadFragments();
    const ProjectData data = analyzer_->project.snapshot();
    const std::string folder = analyzer_->project.projectSaveWay;
    const std::string name = analyzer_->project.projectName;
    ProjectWriteResult written;
    TJustProcedureThread thread;
    thread.FOnExecuteFunction = [&] {
        written = writeProjectFolder(data, folder, name);
        return written.ok;
    };
    return runWorker(thread) && commitWritten(written, *prompter_, analyzer_->project);
}

bool TForm1::saveAsProject() {
    if (workerRunning_) return false;
    const std::optional<std::string> chosen = prompter_->saveFileName(FileKind::Project, kProjectFilter);
    if (!chosen) return false;
    // The save never replaces the chosen file: it writes a new project folder named after it.
    // A user who picked an existing project file is told so before anything is written.
    if (pathExists(*chosen) && !prompter_->confirmation(saveAsExistingQuestion(*chosen))) return false;
    loadFragments();
    const ProjectData data = analyzer_->project.snapshot();
    ProjectWriteResult written;
    TJustProcedureThread thread;
    thread.way = *chosen;
    thread.FOnExecuteProcedure2 = [&](const std::string& saveWay) { written = writeProjectFolderAs(data, saveWay); };
    return runWorker(thread) && commitWritten(written, *prompter_, analyzer_->project);
}

// ---- Workspace trees ----

void TForm1::loadSeries() {
    const TProject& project = analyzer_->project;
    std::vector<WorkspaceTree::Entry> entries;
    entries.reserve(project.seriesList.size());
    for (int i = 0; i < project.seriesCount(); ++i) {
        const TStatisticSeries& s = *project.seriesList[static_cast<size_t>(i)];
        entries.push_back({QString::fromStdString(s.Title), project.seriesId(i), s.labRow ? 2 : 3});
    }
    TreeView1->rebuild(entries);
}

namespace {
template <class Model>
std::vector<WorkspaceTree::Entry> modelEntries(const std::vector<std::unique_ptr<Model>>& models,
                                               uint64_t (TProject::*idAt)(int) const, const TProject& project,
                                               int picture) {
    std::vector<WorkspaceTree::Entry> entries;
    entries.reserve(models.size());
    for (size_t i = 0; i < models.size(); ++i)
        entries.push_back({QString::fromStdString(models[i]->name), (project.*idAt)(static_cast<int>(i)), picture});
    return entries;
}
}  // namespace

void TForm1::loadStatModel() {
    const TProject& p = analyzer_->project;
    TreeView3->rebuild(modelEntries(p.statModels, &TProject::staticModelId, p, 4));
}

void TForm1::loadDynModel() {
    const TProject& p = analyzer_->project;
    TreeView4->rebuild(modelEntries(p.dynModels, &TProject::dynamicModelId, p, 5));
}

int TForm1::seriesIndexOf(uint64_t id) const { return analyzer_->project.seriesIndexById(id); }

TStatisticSeries* TForm1::seriesById(uint64_t id) {
    const int i = seriesIndexOf(id);
    return i < 0 ? nullptr : analyzer_->project.seriesList[static_cast<size_t>(i)].get();
}

uint64_t TForm1::seriesIdAt(int index) const { return analyzer_->project.seriesId(index); }

int TForm1::selectedSeriesIndex() const {
    const std::optional<uint64_t> id = TreeView1->primaryId();
    return id ? seriesIndexOf(*id) : -1;
}

std::vector<int> TForm1::selectedSeriesIndices() const {
    std::vector<int> out;
    std::unordered_set<int> seen;
    for (uint64_t id : TreeView1->selectionOrder()) {
        const int i = seriesIndexOf(id);
        if (i >= 0 && seen.insert(i).second) out.push_back(i);
    }
    return out;
}

std::optional<TForm1::DroppedSeries> TForm1::droppedSeries(const QMimeData* mime) const {
    const std::optional<SeriesDrag> drag = decodeSeriesDrag(mime);
    if (!drag) return std::nullopt;
    DroppedSeries out;
    out.primary = seriesIndexOf(drag->primary);
    std::unordered_set<int> seen;
    for (uint64_t id : drag->selected) {
        const int i = seriesIndexOf(id);
        if (i >= 0 && seen.insert(i).second) out.selected.push_back(i);
    }
    if (out.primary < 0 && out.selected.empty()) return std::nullopt;
    return out;
}

void TForm1::PopupMenuSeriesPopup() {
    const int i = selectedSeriesIndex();
    const bool any = i >= 0;
    for (QAction* a : PopupMenuSeries->actions()) a->setVisible(any);
    if (any)
        findChild<QAction*>(QStringLiteral("N16"))->setChecked(analyzer_->project.seriesList[static_cast<size_t>(i)]->labRow);
}

void TForm1::N16Click() {
    const int i = selectedSeriesIndex();
    if (i < 0) return;
    TStatisticSeries& s = *analyzer_->project.seriesList[static_cast<size_t>(i)];
    s.labRow = !s.labRow;
    loadSeries();
}

void TForm1::N15Click() {
    const std::optional<uint64_t> id = TreeView1->primaryId();
    if (!id) return;
    TStatisticSeries* s = seriesById(*id);
    if (!s) return;
    if (!prompter_->confirmation("Вы действительно хотите удалить ряд: " + s->Title + "?")) return;
    // Looked up again: the list may have changed while the question was open.
    const int i = seriesIndexOf(*id);
    if (i >= 0) analyzer_->project.deleteSeries(i, true);
}

void TForm1::N17Click() {
    if (TreeView1->topLevelItemCount() < 1) return;
    if (!prompter_->confirmation("Вы действительно хотите удалить все ряды? ")) return;
    analyzer_->project.deleteAllSeries();
}

void TForm1::N18Click() {
    const std::optional<uint64_t> id = TreeView1->primaryId();
    const TStatisticSeries* s = id ? seriesById(*id) : nullptr;
    if (!s) return;
    form12_->prepare(s->Title, s->Count());
    if (!form12_->runModal(*form12_)) return;
    const std::optional<int> lag = form12_->lag();
    if (!lag) {
        prompter_->message("Сдвиг должен быть целым числом точек!");
        return;
    }
    // Looked up again: the series may have gone while the dialog was open.
    if (TStatisticSeries* series = seriesById(*id))
        createDelayedSeries(analyzer_->project, *series, *lag, form12_->CheckBox1->isChecked(), prompter_);
}

void TForm1::N4Click() {
    form8_->fill();
    form8_->runModal(*form8_);
}

void TForm1::N27Click() { form18_->open(); }

void TForm1::TreeView1Changing(Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ControlModifier) return;
    if (TreeView1->selectedItems().size() <= 1) return;
    QTreeWidgetItem* keep = TreeView1->primaryItem();
    TreeView1->clearSelection();
    if (keep) keep->setSelected(true);
}

int TForm1::selectedStaticModelIndex() const {
    const std::optional<uint64_t> id = TreeView3->primaryId();
    return id ? analyzer_->project.staticModelIndexById(*id) : -1;
}

int TForm1::selectedDynamicModelIndex() const {
    const std::optional<uint64_t> id = TreeView4->primaryId();
    return id ? analyzer_->project.dynamicModelIndexById(*id) : -1;
}

QMenu* TForm1::staticModelMenu() const { return modelTrees_->PopupMenuStatModel; }
QMenu* TForm1::dynamicModelMenu() const { return modelTrees_->PopupMenuDynModel; }

void TForm1::TreeView1ContextPopup(WorkspaceTree* tree, const QPoint& pos) {
    if (!tree) return;
    tree->selectAt(pos);
    QMenu* menu = tree == TreeView1 ? PopupMenuSeries : tree == TreeView3 ? staticModelMenu() : dynamicModelMenu();
    if (tree == TreeView1) PopupMenuSeriesPopup();
    else if (tree == TreeView3) modelTrees_->PopupMenuStatModelPopup();
    else modelTrees_->PopupMenuDynModelPopup();
    if (!menu->actions().isEmpty()) menu->popup(tree->viewport()->mapToGlobal(pos));
}

void TForm1::reloadPage() {
    if (activePage_ == 2)
        if (MainPage* p = page(2)) p->reloadPage();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (workerRunning_) {
        event->ignore();
        return;
    }
    if (!confirmDiscard()) {
        event->ignore();
        return;
    }
    event->accept();
}
