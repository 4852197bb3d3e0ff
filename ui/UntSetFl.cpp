#include "ui/UntSetFl.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>

#include "app/UntException.h"
#include "ui/UntAddFl.h"

namespace vantrel {

namespace {

enum Column { kCategoryId, kCategoryName, kBaseUnitId, kBaseUnitName, kColumnCount };

TFrmSetFl::DialogRunner& Runner() {
  static TFrmSetFl::DialogRunner run;
  return run;
}

QString Text(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

// Odd records match the window colour, even ones are a shade darker. Only the row that
// is current in the focused grid keeps the highlight.
class StripedRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const bool selected = option.state & QStyle::State_Selected;
    const bool focused = view && view->hasFocus() && view->currentIndex().row() == index.row();
    if (selected && focused) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    const int record = index.row() + 1;
    plain.backgroundBrush = record % 2 == 1 ? QColor(235, 234, 224) : QColor(227, 226, 213);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : nullptr;
    if (!style) return;
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);
  }
};

}  // namespace

// The grid's snapshot: read whole from the data module, then changed in place by the
// window's own renamings and deletions.
class CategoryGridModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  const std::vector<CategoryGridRow>& rows() const { return rows_; }

  void reset(std::vector<CategoryGridRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    indicator_ = -1;
    endResetModel();
  }

  void setNames(int row, const std::string& categoryName, const std::string& baseUnitName) {
    rows_[static_cast<std::size_t>(row)].categoryName = categoryName;
    rows_[static_cast<std::size_t>(row)].baseUnitName = baseUnitName;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
  }

  void dropRow(int row) {
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
  }

  // The row indicator follows the current row.
  void setIndicator(int row) {
    const int old = indicator_;
    indicator_ = row;
    if (old >= 0 && old < rowCount()) emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < rowCount()) emit headerDataChanged(Qt::Vertical, row, row);
  }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : kColumnCount;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    const CategoryGridRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
      case kCategoryId:
        return row.categoryId;
      case kCategoryName:
        return Text(row.categoryName);
      case kBaseUnitId:
        return row.baseUnitId;
      case kBaseUnitName:
        return Text(row.baseUnitName);
      default:
        return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section == indicator_ ? QStringLiteral("▸") : QString();
    if (section == kCategoryName) return QStringLiteral("分类名称");
    if (section == kBaseUnitName) return QStringLiteral("基本单位");
    return {};
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
  }

 private:
  std::vector<CategoryGridRow> rows_;
  int indicator_ = -1;
};

TFrmSetFl::TFrmSetFl(TDMMain& dm, QWidget* parent)
    : TFixedDialog(parent, QStringLiteral("FrmSetFl"), QStringLiteral("设置单位类别"),
                   QSize(355, 188)),
      dm_(dm) {
  model_ = new CategoryGridModel(this);
  DBGridEhLb = new QTableView(this);
  DBGridEhLb->setObjectName(QStringLiteral("DBGridEhLb"));
  DBGridEhLb->setGeometry(3, 3, 279, 181);
  DBGridEhLb->setModel(model_);
  DBGridEhLb->setItemDelegate(new StripedRowDelegate(DBGridEhLb));
  DBGridEhLb->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGridEhLb->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGridEhLb->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGridEhLb->setShowGrid(true);
  DBGridEhLb->setWordWrap(false);
  DBGridEhLb->setColumnHidden(kCategoryId, true);
  DBGridEhLb->setColumnHidden(kBaseUnitId, true);
  const int digit = DBGridEhLb->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  DBGridEhLb->setColumnWidth(kCategoryName, 16 * digit + 4);
  DBGridEhLb->setColumnWidth(kBaseUnitName, 21 * digit + 4);
  DBGridEhLb->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  DBGridEhLb->horizontalHeader()->setHighlightSections(false);
  DBGridEhLb->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  DBGridEhLb->verticalHeader()->setDefaultSectionSize(DBGridEhLb->fontMetrics().height() + 5);
  DBGridEhLb->verticalHeader()->setFixedWidth(12);
  DBGridEhLb->verticalHeader()->setHighlightSections(false);
  SetHint(DBGridEhLb, QStringLiteral("双击可修改当前的单位类别"));

  FlatButton1 = MakeButton(this, "FlatButton1", "增加(&A)", "增加新的单位类别", 286, 4);
  FlatButton2 = MakeButton(this, "FlatButton2", "修改(&E)", "修改当前的单位类别", 286, 30);
  FlatButton3 = MakeButton(this, "FlatButton3", "删除(&D)", "删除当前的单位类别", 286, 56);
  FlatButton4 = MakeButton(this, "FlatButton4", "关闭(&C)", "关闭当前窗体", 286, 162);

  setTabOrder(DBGridEhLb, FlatButton1);
  setTabOrder(FlatButton1, FlatButton2);
  setTabOrder(FlatButton2, FlatButton3);
  setTabOrder(FlatButton3, FlatButton4);

  // Every event reaches its handler here, through the error handler.
  auto run = [this](void (TFrmSetFl::*handler)()) {
    return [this, handler] { Guarded(this, [this, handler] { (this->*handler)(); }); };
  };
  connect(FlatButton1, &QPushButton::clicked, this, run(&TFrmSetFl::FlatButton1Click));
  connect(FlatButton2, &QPushButton::clicked, this, run(&TFrmSetFl::FlatButton2Click));
  connect(FlatButton3, &QPushButton::clicked, this, run(&TFrmSetFl::FlatButton3Click));
  connect(FlatButton4, &QPushButton::clicked, this, run(&TFrmSetFl::FlatButton4Click));
  connect(DBGridEhLb, &QTableView::doubleClicked, this, run(&TFrmSetFl::FlatButton2Click));
  connect(DBGridEhLb->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            Guarded(this, [&] { model_->setIndicator(current.row()); });
          });
  InstallKeyPreview();
  DBGridEhLb->setFocus();
  Guarded(this, [this] { FormCreate(); });
}

TFrmSetFl::~TFrmSetFl() = default;

void TFrmSetFl::SetDialogRunnerForTesting(DialogRunner run) {
  Runner() = std::move(run);
}

int TFrmSetFl::runDialog(TFrmAddFl& dialog) {
  return Runner() ? Runner()(dialog) : dialog.exec();
}

const std::vector<CategoryGridRow>& TFrmSetFl::GridRows() const {
  return model_->rows();
}

std::optional<int> TFrmSetFl::CurrentRow() const {
  const QModelIndex current = DBGridEhLb->currentIndex();
  if (!current.isValid()) return std::nullopt;
  return current.row();
}

void TFrmSetFl::selectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  DBGridEhLb->setCurrentIndex(model_->index(row, kCategoryName));
  DBGridEhLb->selectRow(row);
}

void TFrmSetFl::openGrid() {
  model_->reset(dm_.CategoryGrid());
  selectRow(0);
}

void TFrmSetFl::done(int result) {
  Guarded(this, [this] { FormClose(); });
  TFixedDialog::done(result);
}

// ---- handlers ----

void TFrmSetFl::FormCreate() {
  openGrid();
}

void TFrmSetFl::FormClose() {}

void TFrmSetFl::KeyPress(QObject* /*target*/, char32_t& key) {
  FormKeyPress(key);
}

void TFrmSetFl::FormKeyPress(char32_t& key) {
  if (key != 27) return;
  key = 0;
  FlatButton4->click();
}

void TFrmSetFl::FlatButton1Click() {
  TFrmAddFl dialog(dm_, this);
  if (runDialog(dialog) != QDialog::Accepted) return;
  dm_.AddCategory(dialog.FlatEdit1->text().toStdString(), dialog.FlatEdit2->text().toStdString());
  openGrid();
}

void TFrmSetFl::FlatButton2Click() {
  const std::optional<int> row = CurrentRow();
  if (!row) return;  // nothing listed, nothing to rename
  const CategoryGridRow current = model_->rows()[static_cast<std::size_t>(*row)];
  TFrmAddFl dialog(dm_, this);
  dialog.IsModify = true;
  dialog.FlatEdit1->setText(Text(current.categoryName));
  dialog.FlatEdit2->setText(Text(current.baseUnitName));
  if (runDialog(dialog) != QDialog::Accepted) return;
  const std::string name = dialog.FlatEdit1->text().toStdString();
  const std::string baseUnitName = dialog.FlatEdit2->text().toStdString();
  // The store first: the grid shows only what was written.
  dm_.RenameCategory(current.categoryId, name, current.baseUnitId, baseUnitName);
  model_->setNames(*row, name, baseUnitName);
}

void TFrmSetFl::FlatButton3Click() {
  const std::optional<int> row = CurrentRow();
  if (!row) return;  // nothing listed, nothing to delete
  const int categoryId = model_->rows()[static_cast<std::size_t>(*row)].categoryId;
  if (!dm_.DeleteCategory(categoryId)) {
    ShowMessage(this, MessageIcon::Warning,
                QStringLiteral("此类别下已经有多个单位,请先删除它所属\n"
                               "的各个单位后,再对它进行删除操作!"));
    return;
  }
  model_->dropRow(*row);
  // The row that took the deleted one's place becomes current, as in the snapshot.
  selectRow(std::min(*row, model_->rowCount() - 1));
}

void TFrmSetFl::FlatButton4Click() {
  close();
}

}  // namespace vantrel
