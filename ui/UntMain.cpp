#include "ui/UntMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/DesktopLauncher.h"
#include "app/Settings.h"
#include "app/UntException.h"
#include "catalogue/UntDM.h"
#include "conversion/ConvertText.h"
#include "conversion/NumberText.h"
#include "ui/Look.h"
#include "ui/Tools.h"
#include "ui/TypedKeys.h"
#include "ui/UntAbout.h"
#include "ui/UntDwJs.h"
#include "ui/UntFlJs.h"
#include "ui/UntSetDw.h"
#include "ui/UntSetFl.h"

namespace vantrel {

namespace {

constexpr int kOuterWidth = 390;
constexpr int kOuterHeight = 316;
// The splitter bar starts at 49 % of the width (187 pixels in the designed window).
constexpr double kSplitterShare = 0.49;
constexpr int kSplitterBar = 7;

const QString kSettingsSection = QStringLiteral("Last");
const QString kLastCategoryKey = QStringLiteral("LbName");

// A framed list box: one selected item at most, and a click never clears it.
class UnitListBox : public QListWidget {
 public:
  explicit UnitListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
  }

 protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override {
    if (!index.isValid()) return QItemSelectionModel::NoUpdate;
    const auto command = QListWidget::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
      return QItemSelectionModel::ClearAndSelect;
    return command;
  }
};

int SelectedRow(const QListWidget* list) {
  const QModelIndexList rows = list->selectionModel()->selectedIndexes();
  return rows.isEmpty() ? -1 : rows.first().row();
}

// Selecting from the window's own code never reaches the selection handler.
void SelectRow(QListWidget* list, int row) {
  const QSignalBlocker block(list);
  list->setCurrentRow(row < list->count() ? row : -1);
}

// The first item whose name equals name without regard to letter case; else the first
// item; -1 for an empty list.
int FindUnitRow(const QListWidget* list, const QString& name) {
  for (int i = 0; i < list->count(); ++i) {
    if (QString::compare(list->item(i)->text(), name, Qt::CaseInsensitive) == 0) return i;
  }
  return list->count() > 0 ? 0 : -1;
}

// The first category whose name equals name without regard to letter case; -1 if none.
int FindCategoryIndex(const QComboBox* box, const QString& name) {
  for (int i = 0; i < box->count(); ++i) {
    if (QString::compare(box->itemText(i), name, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

QString Text(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

}  // namespace

bool IsAddArgument(QString argument) {
  argument.remove(QLatin1Char('"'));
  for (QChar& c : argument) {
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + ('a' - 'A'));
  }
  return argument == QLatin1String("/add");
}

TFrmMain::TFrmMain(TDMMain& dm, QWidget* parent) : QMainWindow(parent), dm_(dm) {
  createControls();
  createActions();
  createMenus();
  createToolBar();
  wireHandlers();
  updateEditActions();
  Guarded(this, [this] { FormCreate(); });
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::createControls() {
  setObjectName(QStringLiteral("FrmMain"));
  setWindowTitle(QStringLiteral("Vantrel"));
  ApplyLook(this);
  resize(kOuterWidth, kOuterHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kOuterWidth / 2, kOuterHeight / 2));
  }

  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->setFixedHeight(27);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, ToolBar1);

  FlatComboBoxLb = new QComboBox(ToolBar1);
  FlatComboBoxLb->setObjectName(QStringLiteral("FlatComboBoxLb"));
  FlatComboBoxLb->setEditable(false);
  FlatComboBoxLb->setFixedWidth(116);
  SetHint(FlatComboBoxLb, QStringLiteral("选择单位的类别"));

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  PanelTop = new QWidget(central);
  PanelTop->setObjectName(QStringLiteral("PanelTop"));
  PanelTop->setFixedHeight(24);

  FlatEdit1 = new QLineEdit(PanelTop);
  FlatEdit1->setObjectName(QStringLiteral("FlatEdit1"));
  FlatEdit1->setGeometry(1, 2, 178, 18);
  // Typed characters come through key presses only, where the filter sees them.
  FlatEdit1->setAttribute(Qt::WA_InputMethodEnabled, false);
  SetHint(FlatEdit1, QStringLiteral("输入要换算的数值"));

  Image1 = new QLabel(PanelTop);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(182, 3, 16, 16);
  Image1->setPixmap(Picture(QStringLiteral(":/icons/arrow.png")));

  FlatEdit2 = new QLineEdit(PanelTop);
  FlatEdit2->setObjectName(QStringLiteral("FlatEdit2"));
  FlatEdit2->setGeometry(201, 2, 180, 18);
  FlatEdit2->setReadOnly(true);
  SetHint(FlatEdit2, QStringLiteral("换算后的结果"));

  RzSplitter1 = new QSplitter(Qt::Horizontal, central);
  RzSplitter1->setObjectName(QStringLiteral("RzSplitter1"));
  RzSplitter1->setHandleWidth(kSplitterBar);
  RzSplitter1->setChildrenCollapsible(false);
  SetHint(RzSplitter1, QStringLiteral("改变左右比例"));

  RzListBoxDw1 = new UnitListBox(RzSplitter1);
  RzListBoxDw1->setObjectName(QStringLiteral("RzListBoxDw1"));
  SetHint(RzListBoxDw1, QStringLiteral("当前输入数值的单位"));
  RzListBoxDw2 = new UnitListBox(RzSplitter1);
  RzListBoxDw2->setObjectName(QStringLiteral("RzListBoxDw2"));
  SetHint(RzListBoxDw2, QStringLiteral("要换算的单位"));
  RzSplitter1->addWidget(RzListBoxDw1);
  RzSplitter1->addWidget(RzListBoxDw2);
  RzSplitter1->setStretchFactor(0, 1);
  RzSplitter1->setStretchFactor(1, 1);

  layout->addWidget(PanelTop);
  layout->addWidget(RzSplitter1, 1);
  setCentralWidget(central);

  setTabOrder(FlatEdit1, FlatEdit2);
  setTabOrder(FlatEdit2, RzListBoxDw1);
  setTabOrder(RzListBoxDw1, RzListBoxDw2);
  FlatEdit1->setFocus();
}

void TFrmMain::createActions() {
  struct Definition {
    QAction** action;
    const char* name;
    const char* caption;
    const char* hint;
    const char* shortcut;
    const char* icon;
  };
  const Definition definitions[] = {
      {&Nxhs, "Nxhs", "单位交换(&I)", "将当前的单位进行左右交换并计算", "F5", "swap"},
      {&Srqk, "Srqk", "输入清空(&C)", "输入栏清空", "", ""},
      {&Jgqk, "Jgqk", "结果清空(&F)", "结果栏清空", "", ""},
      {&Dwjs, "Dwjs", "单位检索(&S)...", "检索换算单位", "F3", "unitsearch"},
      {&Lbjs, "Lbjs", "类别检索(&L)...", "检索换算单位类别", "F4", "categorysearch"},
      {&Close1, "Close1", "退出(&E)", "退出软件", "", "exit"},
      {&EditCut1, "EditCut1", "剪切(&T)", "剪切至剪贴板", "Ctrl+X", "cut"},
      {&EditCopy1, "EditCopy1", "复制(&C)", "复制至剪贴板", "Ctrl+C", "copy"},
      {&EditPaste1, "EditPaste1", "粘贴(&P)", "粘贴剪贴板内容", "Ctrl+V", "paste"},
      {&EditSelectAll1, "EditSelectAll1", "全选(&A)", "选择全部内容", "", ""},
      {&Dw, "Dw", "换算单位(&U)...", "设置换算单位", "", "units"},
      {&Lb, "Lb", "单位类别(&G)...", "设置换算单位类别", "", "categories"},
      {&Jsq, "Jsq", "计算器(&K)...", "调出计算器", "F9", "calculator"},
      {&WD, "WD", "摄氏与华氏换算(&W)...", "", "", ""},
      {&Jedx, "Jedx", "金额大写转换(&J)...", "", "", ""},
      {&HelpContents1, "HelpContents1", "帮助主题(&M)", "显示帮助主题", "F1", "help"},
      {&About, "About", "关于(&A)...", "关于", "", "about"},
      {&Configtools, "Configtools", "自定义工具(&C)...", "", "", ""},
  };
  for (const Definition& d : definitions) {
    auto* action = new QAction(QString::fromUtf8(d.caption), this);
    action->setObjectName(QString::fromLatin1(d.name));
    const QString hint = QString::fromUtf8(d.hint);
    if (!hint.isEmpty()) {
      action->setToolTip(hint);
      action->setStatusTip(hint);
    }
    if (*d.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(d.shortcut)));
    if (*d.icon)
      action->setIcon(PictureIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(d.icon))));
    *d.action = action;
  }
}

void TFrmMain::createMenus() {
  const QFont menuFont = MenuFont();
  menuBar()->setFont(menuFont);
  auto addMenu = [&](const char* caption) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
    menu->setFont(menuFont);
    return menu;
  };

  QMenu* convert = addMenu("换算(&H)");
  convert->addActions({Nxhs, Srqk, Jgqk});
  convert->addSeparator();
  convert->addActions({Dwjs, Lbjs});
  convert->addSeparator();
  convert->addAction(Close1);

  QMenu* edit = addMenu("编辑(&E)");
  edit->addActions({EditCut1, EditCopy1, EditPaste1});
  edit->addSeparator();
  edit->addAction(EditSelectAll1);

  QMenu* settings = addMenu("设置(&S)");
  settings->addActions({Dw, Lb});

  QMenu* tools = addMenu("工具(&T)");
  tools->addActions({Jsq, WD, Jedx});
  N1 = tools->addSeparator();
  N1->setObjectName(QStringLiteral("N1"));
  tools->addAction(Configtools);
  C1 = Configtools;
  N2 = tools->addSeparator();
  N2->setObjectName(QStringLiteral("N2"));

  QMenu* help = addMenu("帮助(&H)");
  help->addAction(HelpContents1);
  help->addSeparator();
  help->addAction(About);
}

void TFrmMain::createToolBar() {
  ToolBar1->addWidget(FlatComboBoxLb);
  ToolBar1->addActions({Nxhs, Dwjs, Lbjs});
  ToolBar1->addSeparator();
  ToolBar1->addActions({EditCut1, EditCopy1, EditPaste1});
  ToolBar1->addSeparator();
  ToolBar1->addActions({Dw, Lb});
  ToolBar1->addSeparator();
  ToolBar1->addActions({Jsq, HelpContents1});
}

// Every event of the window reaches its handler here, through the error handler.
void TFrmMain::wireHandlers() {
  auto run = [this](void (TFrmMain::*handler)()) {
    return [this, handler] { Guarded(this, [this, handler] { (this->*handler)(); }); };
  };

  connect(Nxhs, &QAction::triggered, this, run(&TFrmMain::NxhsExecute));
  connect(Srqk, &QAction::triggered, this, run(&TFrmMain::SrqkExecute));
  connect(Jgqk, &QAction::triggered, this, run(&TFrmMain::JgqkExecute));
  connect(Dwjs, &QAction::triggered, this, run(&TFrmMain::DwjsExecute));
  connect(Lbjs, &QAction::triggered, this, run(&TFrmMain::LbjsExecute));
  connect(Close1, &QAction::triggered, this, run(&TFrmMain::Close1Execute));
  connect(EditCut1, &QAction::triggered, this, run(&TFrmMain::editCut));
  connect(EditCopy1, &QAction::triggered, this, run(&TFrmMain::editCopy));
  connect(EditPaste1, &QAction::triggered, this, run(&TFrmMain::editPaste));
  connect(EditSelectAll1, &QAction::triggered, this, run(&TFrmMain::editSelectAll));
  connect(Dw, &QAction::triggered, this, run(&TFrmMain::DwExecute));
  connect(Lb, &QAction::triggered, this, run(&TFrmMain::LbExecute));
  connect(Jsq, &QAction::triggered, this, run(&TFrmMain::JsqExecute));
  connect(WD, &QAction::triggered, this, run(&TFrmMain::WDExecute));
  connect(Jedx, &QAction::triggered, this, run(&TFrmMain::JedxExecute));
  connect(HelpContents1, &QAction::triggered, this, run(&TFrmMain::HelpContents1Execute));
  connect(About, &QAction::triggered, this, run(&TFrmMain::AboutExecute));

  // Only the user's choices: programmatic selections are made under signal blockers.
  connect(FlatComboBoxLb, qOverload<int>(&QComboBox::activated), this,
          run(&TFrmMain::FlatComboBoxLbChange));
  connect(FlatEdit1, &QLineEdit::textChanged, this, run(&TFrmMain::FlatEdit1Change));
  connect(RzListBoxDw1, &QListWidget::itemSelectionChanged, this, run(&TFrmMain::FlatEdit1Change));
  connect(RzListBoxDw2, &QListWidget::itemSelectionChanged, this, run(&TFrmMain::FlatEdit1Change));
  FlatEdit1->installEventFilter(this);

  // The edit commands follow the focused field, its selection and the clipboard.
  const auto update = run(&TFrmMain::updateEditActions);
  connect(qApp, &QApplication::focusChanged, this, update);
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, update);
  for (QLineEdit* field : {FlatEdit1, FlatEdit2}) {
    connect(field, &QLineEdit::selectionChanged, this, update);
    connect(field, &QLineEdit::textChanged, this, update);
  }
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched != FlatEdit1 || event->type() != QEvent::KeyPress)
    return QMainWindow::eventFilter(watched, event);
  return FeedTypedCharacters(*static_cast<QKeyEvent*>(event),
                             [this](char32_t& typed) { FlatEdit1KeyPress(typed); });
}

void TFrmMain::FlatEdit1KeyPress(char32_t& key) {
  if (!IsAcceptedInputChar(key)) key = 0;
}

void TFrmMain::closeEvent(QCloseEvent* event) {
  // A failing store or settings file is reported but never keeps the window open.
  Guarded(this, [this] { FormClose(); });
  event->accept();
}

void TFrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (sizedToFrame_) return;
  sizedToFrame_ = true;
  placeSplitterBar();
  // The designed size includes the frame, which is known only once the window is shown.
  QTimer::singleShot(0, this, [this] {
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0) return;
    resize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
    if (const QScreen* s = screen()) {
      const QRect area = s->availableGeometry();
      move(area.center() - QPoint(kOuterWidth / 2, kOuterHeight / 2));
    }
    centralWidget()->layout()->activate();
    placeSplitterBar();
  });
}

void TFrmMain::placeSplitterBar() {
  const int width = RzSplitter1->width();
  const int first = qRound(width * kSplitterShare);
  RzSplitter1->setSizes({first, width - first - kSplitterBar});
}

// ---- handlers ----

void TFrmMain::FormCreate() {
  setWindowTitle(windowTitle() + QStringLiteral("V1.2"));
  if (IsAddArgument(QCoreApplication::arguments().value(1))) CreateShortcut();
  JbbzTexts.clear();
  LoadCategories();
  RestoreLastCategory();
  CurLbId_ = selectedCategoryId();
  LoadUnits(CurLbId_);
  RestoreUnitPair(CurLbId_);
  N1->setVisible(false);
  C1->setVisible(false);
  N2->setVisible(false);
}

void TFrmMain::FormClose() {
  SaveUnitPair(CurLbId_);
  SettingsFile().WriteString(kSettingsSection, kLastCategoryKey, FlatComboBoxLb->currentText());
}

void TFrmMain::FlatComboBoxLbChange() {
  SaveUnitPair(CurLbId_);
  CurLbId_ = selectedCategoryId();
  LoadUnits(CurLbId_);
  RestoreUnitPair(CurLbId_);
  Recompute();
}

void TFrmMain::FlatEdit1Change() {
  Recompute();
}

void TFrmMain::NxhsExecute() {
  const int from = SelectedRow(RzListBoxDw1);
  const int to = SelectedRow(RzListBoxDw2);
  SelectRow(RzListBoxDw1, to);
  SelectRow(RzListBoxDw2, from);
  Recompute();
}

void TFrmMain::SrqkExecute() {
  // Emptying the input is the one change from code that recomputes, through textChanged.
  FlatEdit1->clear();
}

void TFrmMain::JgqkExecute() {
  FlatEdit2->clear();
}

void TFrmMain::Close1Execute() {
  close();
}

void TFrmMain::DwjsExecute() {
  // Where the found unit goes depends on the list that had the focus when the search began.
  const bool intoToList = RzListBoxDw2->hasFocus();
  TFrmDwJs dialog(dm_, this);
  if (dialog.exec() != TSearchDialog::kModalOk || dialog.SelectedDwmc().isEmpty() ||
      dialog.SelectedLbmc().isEmpty())
    return;
  SaveUnitPair(CurLbId_);
  selectCategoryNamed(dialog.SelectedLbmc());
  CurLbId_ = selectedCategoryId();
  LoadUnits(CurLbId_);
  QListWidget* found = intoToList ? RzListBoxDw2 : RzListBoxDw1;
  QListWidget* other = intoToList ? RzListBoxDw1 : RzListBoxDw2;
  SelectRow(found, FindUnitRow(found, dialog.SelectedDwmc()));
  SelectRow(other, other->count() > 0 ? 0 : -1);
  Recompute();
}

void TFrmMain::LbjsExecute() {
  TFrmFlJs dialog(dm_, this);
  if (dialog.exec() != TSearchDialog::kModalOk || dialog.SelectedLbmc().isEmpty()) return;
  SaveUnitPair(CurLbId_);
  selectCategoryNamed(dialog.SelectedLbmc());
  CurLbId_ = selectedCategoryId();
  LoadUnits(CurLbId_);
  RestoreUnitPair(CurLbId_);
  Recompute();
}

void TFrmMain::selectCategoryNamed(const QString& name) {
  const int index = FindCategoryIndex(FlatComboBoxLb, name);
  if (index < 0) return;
  const QSignalBlocker block(FlatComboBoxLb);
  FlatComboBoxLb->setCurrentIndex(index);
}

void TFrmMain::DwExecute() {
  {
    TFrmSetDw window(dm_, this);
    window.exec();
  }
  // The pair shown afterwards is the stored one, which may differ from the one before.
  LoadUnits(CurLbId_);
  RestoreUnitPair(CurLbId_);
  Recompute();
}

void TFrmMain::LbExecute() {
  {
    TFrmSetFl window(dm_, this);
    window.exec();
  }
  LoadCategories();
  CurLbId_ = selectedCategoryId();
  LoadUnits(CurLbId_);
  RestoreUnitPair(CurLbId_);
  Recompute();
}
void TFrmMain::JsqExecute() {
  RunCalculator();
}
void TFrmMain::WDExecute() {
  OpenCompanion(QStringLiteral("Kelvora"));
}
void TFrmMain::JedxExecute() {
  OpenCompanion(QStringLiteral("Munsett"));
}
void TFrmMain::HelpContents1Execute() {
  OpenHelp();
}
void TFrmMain::AboutExecute() {
  TFrmAbout about(dm_, this);
  about.exec();
}

void TFrmMain::CreateShortcut() {
  WriteDesktopLauncher();
}

// ---- the window's own steps ----

void TFrmMain::LoadCategories() {
  const QSignalBlocker block(FlatComboBoxLb);
  FlatComboBoxLb->clear();
  for (const CategoryItem& category : dm_.Categories())
    FlatComboBoxLb->addItem(Text(category.name), category.id);
  FlatComboBoxLb->setCurrentIndex(FlatComboBoxLb->count() > 0 ? 0 : -1);
}

void TFrmMain::RestoreLastCategory() {
  const QString name =
      SettingsFile().ReadString(kSettingsSection, kLastCategoryKey, FlatComboBoxLb->currentText());
  int index = FindCategoryIndex(FlatComboBoxLb, name);
  if (index < 0 && FlatComboBoxLb->count() > 0) index = 0;
  const QSignalBlocker block(FlatComboBoxLb);
  FlatComboBoxLb->setCurrentIndex(index);
}

void TFrmMain::LoadUnits(std::optional<int> lbId) {
  const QSignalBlocker block1(RzListBoxDw1);
  const QSignalBlocker block2(RzListBoxDw2);
  JbbzTexts.clear();
  RzListBoxDw1->clear();
  RzListBoxDw2->clear();
  if (!lbId) return;
  for (const UnitItem& unit : dm_.Units(*lbId)) {
    for (QListWidget* list : {RzListBoxDw1, RzListBoxDw2}) {
      auto* item = new QListWidgetItem(Text(unit.name), list);
      item->setData(Qt::UserRole, unit.id);
    }
    JbbzTexts.push_back(unit.ratioText);
  }
}

void TFrmMain::RestoreUnitPair(std::optional<int> lbId) {
  if (!lbId) return;
  const std::optional<UnitPairNames> pair = dm_.UnitPair(*lbId);
  if (!pair) return;
  SelectRow(RzListBoxDw1, FindUnitRow(RzListBoxDw1, Text(pair->from)));
  SelectRow(RzListBoxDw2, FindUnitRow(RzListBoxDw2, Text(pair->to)));
}

void TFrmMain::SaveUnitPair(std::optional<int> lbId) {
  const int from = SelectedRow(RzListBoxDw1);
  const int to = SelectedRow(RzListBoxDw2);
  // A category without units has no pair to remember.
  if (!lbId || from < 0 || to < 0) return;
  dm_.SaveUnitPair(*lbId, RzListBoxDw1->item(from)->text().toStdString(),
                   RzListBoxDw2->item(to)->text().toStdString());
}

void TFrmMain::Recompute() {
  const std::string result = ConvertText(FlatEdit1->text().toStdString(), JbbzTexts,
                                         SelectedRow(RzListBoxDw1), SelectedRow(RzListBoxDw2));
  FlatEdit2->setText(Text(result));
  FlatEdit2->setCursorPosition(0);
}

// ---- standard edit commands on the focused field ----

QLineEdit* TFrmMain::focusedField() const {
  QWidget* focused = focusWidget();
  if (focused == FlatEdit1) return FlatEdit1;
  if (focused == FlatEdit2) return FlatEdit2;
  return nullptr;
}

std::optional<int> TFrmMain::selectedCategoryId() const {
  const int index = FlatComboBoxLb->currentIndex();
  if (index < 0) return std::nullopt;
  return FlatComboBoxLb->itemData(index).toInt();
}

void TFrmMain::updateEditActions() {
  const QLineEdit* field = focusedField();
  const bool selection = field && field->hasSelectedText();
  const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
  EditCut1->setEnabled(selection);
  EditCopy1->setEnabled(selection);
  EditPaste1->setEnabled(field && clip && clip->hasText());
  EditSelectAll1->setEnabled(field && !field->text().isEmpty());
}

void TFrmMain::editCut() {
  QLineEdit* field = focusedField();
  if (field && !field->isReadOnly()) field->cut();
}

void TFrmMain::editCopy() {
  if (QLineEdit* field = focusedField()) field->copy();
}

void TFrmMain::editPaste() {
  QLineEdit* field = focusedField();
  if (field && !field->isReadOnly()) field->paste();
}

void TFrmMain::editSelectAll() {
  if (QLineEdit* field = focusedField()) field->selectAll();
}

}  // namespace vantrel
