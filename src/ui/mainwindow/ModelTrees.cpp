#include "ui/mainwindow/ModelTrees.h"

#include <QMenu>

#include "core/ModelFiles.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/TForm19.h"
#include "ui/mainwindow/TForm20.h"
#include "ui/mainwindow/WorkspaceTree.h"

namespace {

QAction* item(QMenu* menu, const char* name, const char* caption) {
    auto* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QLatin1String(name));
    return a;
}

void enableFirstThree(QMenu* menu, bool enabled) {
    const QList<QAction*> items = menu->actions();
    for (int i = 0; i < items.size() && i < 3; ++i) items[i]->setEnabled(enabled);
}

const char* const kDeleteQuestion = "Вы действительно хотите удалить модель: ";
const char* const kDeleteAllQuestion = "Вы действительно хотите удалить все модели? ";

}  // namespace

std::string withModelExtension(const std::string& fileName, const std::string& extension) {
    return withExtension(fileName, extension);
}

ModelTrees::ModelTrees(TForm1& form) : QObject(&form), form_(form) {
    PopupMenuStatModel = new QMenu(&form);
    PopupMenuStatModel->setObjectName(QStringLiteral("PopupMenuStatModel"));
    QAction* N19 = item(PopupMenuStatModel, "N19", "Открыть");
    QAction* N29 = item(PopupMenuStatModel, "N29", "Экспорт модели");
    QAction* MenuItem2 = item(PopupMenuStatModel, "MenuItem2", "Удалить модель");
    QAction* MenuItem3 = item(PopupMenuStatModel, "MenuItem3", "Удалить все модели");
    PopupMenuDynModel = new QMenu(&form);
    PopupMenuDynModel->setObjectName(QStringLiteral("PopupMenuDynModel"));
    QAction* N24 = item(PopupMenuDynModel, "N24", "Открыть");
    QAction* N28 = item(PopupMenuDynModel, "N28", "Экспорт модели");
    QAction* MenuItem1 = item(PopupMenuDynModel, "MenuItem1", "Удалить модель");
    QAction* MenuItem4 = item(PopupMenuDynModel, "MenuItem4", "Удалить все модели");
    const auto wire = [this](QAction* a, auto handler) {
        connect(a, &QAction::triggered, this, [this, handler] { form_.runCommand([this, handler] { (this->*handler)(); }); });
    };
    wire(N19, &ModelTrees::N19Click);
    wire(N29, &ModelTrees::N29Click);
    wire(MenuItem2, &ModelTrees::MenuItem2Click);
    wire(MenuItem3, &ModelTrees::MenuItem3Click);
    wire(N24, &ModelTrees::N24Click);
    wire(N28, &ModelTrees::N28Click);
    wire(MenuItem1, &ModelTrees::MenuItem1Click);
    wire(MenuItem4, &ModelTrees::MenuItem4Click);
    connect(form.staticModelTree(), &QTreeWidget::itemDoubleClicked, this, [this] { TreeView3DblClick(); });
    connect(form.dynamicModelTree(), &QTreeWidget::itemDoubleClicked, this, [this] { TreeView4DblClick(); });
}

void ModelTrees::PopupMenuStatModelPopup() { enableFirstThree(PopupMenuStatModel, form_.selectedStaticModelIndex() >= 0); }

void ModelTrees::PopupMenuDynModelPopup() { enableFirstThree(PopupMenuDynModel, form_.selectedDynamicModelIndex() >= 0); }

TForm19* ModelTrees::openStatic(bool insideMainWindow) {
    const int i = form_.selectedStaticModelIndex();
    if (i < 0) return nullptr;
    return new TForm19(&form_, insideMainWindow, *form_.project().statModels[static_cast<size_t>(i)]);
}

TForm20* ModelTrees::openDynamic(bool insideMainWindow) {
    const int i = form_.selectedDynamicModelIndex();
    if (i < 0) return nullptr;
    return new TForm20(&form_, insideMainWindow, *form_.project().dynModels[static_cast<size_t>(i)]);
}

TForm19* ModelTrees::TreeView3DblClick() { return openStatic(false); }
TForm20* ModelTrees::TreeView4DblClick() { return openDynamic(false); }
TForm19* ModelTrees::N19Click() { return openStatic(true); }
TForm20* ModelTrees::N24Click() { return openDynamic(true); }

namespace {
// Exports the model selected in a tree: the save dialog proposes its name, the file gets the
// kind's extension, and a file of that final name is replaced only when the user agrees. The
// model is looked up again by its id after the dialog: one gone meanwhile is left alone.
template <class Model, class Write>
void exportModel(TForm1& form, const std::vector<std::unique_ptr<Model>>& models, int (TForm1::*selected)() const,
                 uint64_t (TProject::*idAt)(int) const, int (TProject::*indexById)(uint64_t) const,
                 const char* filter, const char* extension, Write write) {
    TProject& project = form.project();
    const int i = (form.*selected)();
    if (i < 0) return;
    const uint64_t id = (project.*idAt)(i);
    const std::optional<std::string> chosen =
        form.prompter().saveFileName(FileKind::ModelExport, filter, {"", models[static_cast<size_t>(i)]->name});
    if (!chosen || (project.*indexById)(id) < 0) return;
    const std::string target = withModelExtension(*chosen, extension);
    if (!mayReplaceFile(form.prompter(), target)) return;
    // Looked up once more: the question may have been open a while.
    const int now = (project.*indexById)(id);
    if (now < 0) return;
    std::string error;
    if (!write(target, *models[static_cast<size_t>(now)], &error)) form.prompter().error(error);
}
}  // namespace

void ModelTrees::N29Click() {
    exportModel(form_, form_.project().statModels, &TForm1::selectedStaticModelIndex, &TProject::staticModelId,
                &TProject::staticModelIndexById, "Файл статической модели|*.sm|Все файлы|*.*", ".sm",
                writeStaticModelFile);
}

void ModelTrees::N28Click() {
    exportModel(form_, form_.project().dynModels, &TForm1::selectedDynamicModelIndex, &TProject::dynamicModelId,
                &TProject::dynamicModelIndexById, "Файл динамической модели|*.dm|Все файлы|*.*", ".dm",
                writeDynamicModelFile);
}

void ModelTrees::MenuItem2Click() {
    TProject& project = form_.project();
    const int i = form_.selectedStaticModelIndex();
    if (i < 0) return;
    const uint64_t id = project.staticModelId(i);
    const std::string& name = project.statModels[size_t(i)]->name;
    if (!form_.prompter().confirmation(kDeleteQuestion + name + "?")) return;
    const int now = project.staticModelIndexById(id);
    if (now >= 0) project.deleteStaticModel(now, true);
}

void ModelTrees::MenuItem1Click() {
    TProject& project = form_.project();
    const int i = form_.selectedDynamicModelIndex();
    if (i < 0) return;
    const uint64_t id = project.dynamicModelId(i);
    const std::string& name = project.dynModels[size_t(i)]->name;
    if (!form_.prompter().confirmation(kDeleteQuestion + name + "?")) return;
    const int now = project.dynamicModelIndexById(id);
    if (now >= 0) project.deleteDynamicModel(now, true);
}

void ModelTrees::MenuItem3Click() {
    if (form_.staticModelTree()->topLevelItemCount() < 1) return;
    if (form_.prompter().confirmation(kDeleteAllQuestion)) form_.project().deleteAllStaticModel();
}

void ModelTrees::MenuItem4Click() {
    if (form_.dynamicModelTree()->topLevelItemCount() < 1) return;
    if (form_.prompter().confirmation(kDeleteAllQuestion)) form_.project().deleteAllDynamicModel();
}
