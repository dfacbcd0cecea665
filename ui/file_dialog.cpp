#include "ui/file_dialog.h"

namespace tavo {

QStringList qtFilters(const QString& filter, QStringList* descriptions) {
  QString text = filter;
  while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
  if (text.isEmpty()) {
    if (descriptions) descriptions->clear();
    return {};
  }
  if (!text.endsWith(QStringLiteral("||"))) text += QStringLiteral("||");

  // The parts alternate: description, patterns, description, patterns...; the
  // closing "||" leaves empty parts at the end, which end the list.
  const QStringList parts = text.split(QLatin1Char('|'));
  QStringList result;
  QStringList names;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    if (description.isEmpty() && parts[i + 1].isEmpty()) break;
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      const QString trimmed = p.trimmed();
      if (!trimmed.isEmpty()) patterns << trimmed;
    }
    // Qt reads the last parenthesised group as the patterns, so a
    // description such as "所有文件(*.*)" keeps its own parentheses.
    result << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    names << description;
  }
  if (descriptions) *descriptions = names;
  return result;
}

}  // namespace tavo
