#include "qt/qt_file_dialogs.h"

#include <QFile>
#include <QFileDialog>

namespace tunelark::qt {

namespace {

QString local(const std::string& bytes) { return QFile::decodeName(bytes.c_str()); }

// "Name|*.a;*.b|Other|*.c" as Qt's name filters. Qt reads a filter's patterns from the last
// parenthesised group, so each description gets its patterns appended in Qt's form, and the
// dialog hides that group again: the user sees the descriptions exactly as given.
QStringList nameFilters(const std::string& filter) {
  const QStringList parts = local(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return filters;
}

}  // namespace

bool QtFileDialogs::show(CommonDialog& record, bool save) {
  if (beforeShow_) beforeShow_();
  QFileDialog dialog(parent_, local(record.DialogTitle));
  dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails |
                    QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters = nameFilters(record.Filter);
  dialog.setNameFilters(filters);
  if (record.FilterIndex >= 1 && record.FilterIndex <= filters.size())
    dialog.selectNameFilter(filters[record.FilterIndex - 1]);
  if (!record.InitDir.empty()) dialog.setDirectory(local(record.InitDir));
  if (!record.FileName.empty()) dialog.selectFile(local(record.FileName));
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  record.FileName = QFile::encodeName(chosen.front()).toStdString();
  return true;
}

}  // namespace tunelark::qt
