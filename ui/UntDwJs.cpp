#include "ui/UntDwJs.h"

#include "app/UntException.h"
#include "catalogue/UntDM.h"

namespace vantrel {

TFrmDwJs::TFrmDwJs(TDMMain& dm, QWidget* parent)
    : TSearchDialog(
          dm,
          {QStringLiteral("单位检索"), QStringLiteral("在此输入要检索的全部或部分单位名称"),
           QStringLiteral("请选择要使用的换算单位")},
          parent) {
  Guarded(this, [this] { FormCreate(); });
}

QStringList TFrmDwJs::Search(const std::string& pattern) {
  const std::vector<UnitSearchHit> hits = dm_.SearchUnits(pattern);
  QStringList names;
  names.reserve(static_cast<qsizetype>(hits.size()));
  LbmcList.reserve(static_cast<qsizetype>(hits.size()));
  for (const UnitSearchHit& hit : hits) {
    names << QString::fromStdString(hit.unitName);
    LbmcList << QString::fromStdString(hit.categoryName);
  }
  return names;
}

void TFrmDwJs::ClearKept() {
  LbmcList.clear();
}

void TFrmDwJs::HandOver(int row, const QString& line) {
  SelectedDwmc_ = line;
  SelectedLbmc_ = row >= 0 ? LbmcList.value(row) : QString();
}

}  // namespace vantrel
