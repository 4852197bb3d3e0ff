// The unit search: finds units by all or part of their name and hands back the chosen
// unit's name with the name of its category.
#pragma once

#include <QString>
#include <QStringList>

#include "ui/SearchDialog.h"

namespace vantrel {

class TFrmDwJs : public TSearchDialog {
  Q_OBJECT

 public:
  explicit TFrmDwJs(TDMMain& dm, QWidget* parent = nullptr);

  // Empty until the dialog closes; set on every close, whatever the result.
  QString SelectedDwmc() const { return SelectedDwmc_; }

 protected:
  QStringList Search(const std::string& pattern) override;
  void ClearKept() override;
  void HandOver(int row, const QString& line) override;

 private:
  // The category name of each result line, at the same positions.
  QStringList LbmcList;
  QString SelectedDwmc_;
};

}  // namespace vantrel
