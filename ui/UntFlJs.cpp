#include "ui/UntFlJs.h"

#include "app/UntException.h"
#include "catalogue/UntDM.h"

namespace vantrel {

TFrmFlJs::TFrmFlJs(TDMMain& dm, QWidget* parent)
    : TSearchDialog(
          dm,
          {QStringLiteral("类别检索"), QStringLiteral("在此输入要检索的全部或部分类别名称"),
           QStringLiteral("请选择要使用的单位类别")},
          parent) {
  Guarded(this, [this] { FormCreate(); });
}

QStringList TFrmFlJs::Search(const std::string& pattern) {
  QStringList names;
  for (const std::string& name : dm_.SearchCategories(pattern))
    names << QString::fromStdString(name);
  return names;
}

void TFrmFlJs::HandOver(int, const QString& line) {
  SelectedLbmc_ = line;
}

}  // namespace vantrel
