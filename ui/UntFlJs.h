// The category search: finds categories by all or part of their name and hands back
// the chosen category's name.
#pragma once

#include <QString>
#include <QStringList>

#include "ui/SearchDialog.h"

namespace vantrel {

class TFrmFlJs : public TSearchDialog {
  Q_OBJECT

 public:
  explicit TFrmFlJs(TDMMain& dm, QWidget* parent = nullptr);

 protected:
  QStringList Search(const std::string& pattern) override;
  void HandOver(int row, const QString& line) override;
};

}  // namespace vantrel
