#include "ui/SearchDialog.h"

#include <QApplication>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>

#include "app/UntException.h"
#include "ui/Look.h"
#include "ui/TypedKeys.h"

namespace vantrel {

namespace {

// Blank means nothing but characters up to and including the space.
bool IsBlank(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() > 32) return false;
  }
  return true;
}

}  // namespace

TSearchDialog::TSearchDialog(TDMMain& dm, const Texts& texts, QWidget* parent)
    : QDialog(parent), dm_(dm) {
  createControls(texts);
  wireHandlers();
}

void TSearchDialog::createControls(const Texts& texts) {
  setWindowTitle(texts.caption);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(273, 257);
  ApplyLook(this);
  // The result list is a model view, since a list of item objects is far too slow to
  // refill with a whole catalogue at every keystroke; it takes the list boxes' flat look.
  setStyleSheet(StyleSheet() +
                QStringLiteral("QListView#RzListBoxJg { border: 1px solid rgb(128,128,128);"
                               " background: white; }"
                               "QListView#RzListBoxJg::item { height: 12px; padding: 0px; }"));

  FlatEditNr = new QLineEdit(this);
  FlatEditNr->setObjectName(QStringLiteral("FlatEditNr"));
  FlatEditNr->setGeometry(104, 6, 163, 20);
  FlatEditNr->setToolTip(texts.editHint);

  Label1 = new QLabel(QStringLiteral("检索内容(&M):"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(6, 9, 96, 14);
  Label1->setBuddy(FlatEditNr);

  FlatGroupBox1 = new QGroupBox(QStringLiteral("匹配方式(&T)"), this);
  FlatGroupBox1->setObjectName(QStringLiteral("FlatGroupBox1"));
  FlatGroupBox1->setGeometry(6, 32, 261, 40);
  FlatRadioButtonRhBf = new QRadioButton(QStringLiteral("任何部分匹配(&A)"), FlatGroupBox1);
  FlatRadioButtonRhBf->setObjectName(QStringLiteral("FlatRadioButtonRhBf"));
  FlatRadioButtonRhBf->setGeometry(10, 16, 120, 18);
  FlatRadioButtonRhBf->setChecked(true);
  FlatRadioButtonKtBf = new QRadioButton(QStringLiteral("开头部分匹配(&E)"), FlatGroupBox1);
  FlatRadioButtonKtBf->setObjectName(QStringLiteral("FlatRadioButtonKtBf"));
  FlatRadioButtonKtBf->setGeometry(136, 16, 120, 18);

  FlatGroupBox2 = new QGroupBox(QStringLiteral("检索结果(&J)"), this);
  FlatGroupBox2->setObjectName(QStringLiteral("FlatGroupBox2"));
  FlatGroupBox2->setGeometry(6, 76, 261, 148);
  lines_ = new QStringListModel(this);
  RzListBoxJg = new QListView(FlatGroupBox2);
  RzListBoxJg->setObjectName(QStringLiteral("RzListBoxJg"));
  RzListBoxJg->setGeometry(3, 16, 254, 115);
  RzListBoxJg->setModel(lines_);
  RzListBoxJg->setUniformItemSizes(true);
  RzListBoxJg->setEditTriggers(QAbstractItemView::NoEditTriggers);
  RzListBoxJg->setSelectionMode(QAbstractItemView::SingleSelection);
  RzListBoxJg->setToolTip(texts.listHint);
  LabelJrs = new QLabel(FlatGroupBox2);
  LabelJrs->setObjectName(QStringLiteral("LabelJrs"));
  LabelJrs->setTextFormat(Qt::PlainText);
  LabelJrs->setGeometry(6, 133, 248, 13);

  FlatButton1 = new QPushButton(QStringLiteral("确认(&O)"), this);
  FlatButton1->setObjectName(QStringLiteral("FlatButton1"));
  FlatButton1->setGeometry(112, 230, 75, 22);
  FlatButton2 = new QPushButton(QStringLiteral("取消(&C)"), this);
  FlatButton2->setObjectName(QStringLiteral("FlatButton2"));
  FlatButton2->setGeometry(192, 230, 75, 22);
  // Enter and Escape belong to the dialog's own key handling, never to a button.
  for (QPushButton* button : {FlatButton1, FlatButton2}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  setTabOrder(FlatEditNr, FlatRadioButtonRhBf);
  setTabOrder(FlatRadioButtonRhBf, FlatRadioButtonKtBf);
  setTabOrder(FlatRadioButtonKtBf, RzListBoxJg);
  setTabOrder(RzListBoxJg, FlatButton1);
  setTabOrder(FlatButton1, FlatButton2);
  FlatEditNr->setFocus();
}

void TSearchDialog::wireHandlers() {
  auto run = [this](void (TSearchDialog::*handler)()) {
    return [this, handler] { Guarded(this, [this, handler] { (this->*handler)(); }); };
  };
  connect(FlatEditNr, &QLineEdit::textChanged, this, run(&TSearchDialog::FlatEditNrChange));
  for (QRadioButton* mode : {FlatRadioButtonRhBf, FlatRadioButtonKtBf}) {
    connect(mode, &QRadioButton::toggled, this, [this](bool checked) {
      if (checked) Guarded(this, [this] { FlatEditNrChange(); });
    });
  }
  connect(FlatButton1, &QPushButton::clicked, this, [this] { done(kModalOk); });
  connect(FlatButton2, &QPushButton::clicked, this, [this] { done(kModalCancel); });

  // The dialog sees every key before its controls, and every double click in the list.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool TSearchDialog::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      // A key an inner control ignores travels on up through its parents: act on it
      // where it first arrives only.
      if (event != keySeen_) {
        keySeen_ = event;
        const char32_t key = EnterOrEscape(*static_cast<QKeyEvent*>(event));
        if (key != 0) Guarded(this, [this, key] { FormKeyPress(key); });
      }
      return false;  // the key still reaches the focused control
    case QEvent::KeyRelease:
      keySeen_ = nullptr;
      return false;
    case QEvent::Shortcut:
      // A match mode's accelerator only moves the focus; checking it is the mouse's job.
      if (watched == FlatRadioButtonRhBf || watched == FlatRadioButtonKtBf) {
        static_cast<QWidget*>(watched)->setFocus(Qt::ShortcutFocusReason);
        return true;
      }
      return false;
    case QEvent::MouseButtonDblClick:
      if (watched == RzListBoxJg->viewport() &&
          static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Guarded(this, [this] { RzListBoxJgDblClick(); });
      }
      return false;
    default:
      return QDialog::eventFilter(watched, event);
  }
}

void TSearchDialog::keyPressEvent(QKeyEvent* event) {
  // Enter and Escape were handled on the way in; the default handling would close the
  // dialog a second time.
  if (EnterOrEscape(*event) != 0) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TSearchDialog::done(int result) {
  Guarded(this, [this] { FormClose(); });
  QDialog::done(result);
}

void TSearchDialog::reject() {
  done(kModalCancel);
}

void TSearchDialog::FormCreate() {
  RunSearch(QString());
}

void TSearchDialog::FlatEditNrChange() {
  const QString text = FlatEditNr->text();
  if (IsBlank(text)) return;
  RunSearch(text);
}

void TSearchDialog::RunSearch(const QString& text) {
  // Typed as is: the user's "%" and "_" stay wildcards, blanks stay in the pattern.
  const QString pattern = FlatRadioButtonKtBf->isChecked()
                              ? text + QLatin1Char('%')
                              : QLatin1Char('%') + text + QLatin1Char('%');
  // Emptied first, so a failing search leaves an empty list behind the old count.
  ClearKept();
  lines_->setStringList(QStringList());
  const QStringList found = Search(pattern.toStdString());
  lines_->setStringList(found);
  LabelJrs->setText(QStringLiteral("一共搜索到%1条记录").arg(found.size()));
}

void TSearchDialog::RzListBoxJgDblClick() {
  FlatButton1->click();
}

void TSearchDialog::FormKeyPress(char32_t key) {
  if (key == 27) {
    FlatButton2->click();
  } else if (key == 13) {
    FlatButton1->click();
  }
}

void TSearchDialog::FormClose() {
  if (lines_->rowCount() == 0) {
    HandOver(-1, QString());
    return;
  }
  const QModelIndexList selected = RzListBoxJg->selectionModel()->selectedIndexes();
  QModelIndex line = selected.isEmpty() ? QModelIndex() : selected.first();
  if (!line.isValid()) {
    line = lines_->index(0);
    RzListBoxJg->setCurrentIndex(line);
  }
  HandOver(line.row(), line.data().toString());
}

}  // namespace vantrel
