#include "SafeFileName.h"

#include <QRegularExpression>

QString SafeFileName::from(const QString& name)
{
    QString safe;
    safe.reserve(name.size());
    for (const QChar c : name) {
        const bool unsafe =
            c.unicode() < 0x20 || c.unicode() == 0x7f || QStringLiteral("/\\:*?\"<>|").contains(c);
        safe += unsafe ? QLatin1Char('_') : c;
    }
    // Windows drops trailing dots and spaces; leading dots hide a file elsewhere.
    while (!safe.isEmpty() && (safe.front() == QLatin1Char(' ') || safe.front() == QLatin1Char('.'))) {
        safe.remove(0, 1);
    }
    while (!safe.isEmpty() && (safe.back() == QLatin1Char(' ') || safe.back() == QLatin1Char('.'))) {
        safe.chop(1);
    }
    if (safe.isEmpty()) {
        return QStringLiteral("untitled");
    }
    static const QRegularExpression reserved(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (reserved.match(safe).hasMatch()) {
        safe.insert(safe.indexOf(QLatin1Char('.')) < 0 ? safe.size() : safe.indexOf(QLatin1Char('.')),
                    QLatin1Char('_'));
    }
    return safe;
}

QString SafeFileName::unique(const QString& name, const QStringList& taken)
{
    const QString safe = from(name);
    QString candidate = safe;
    for (int n = 2; taken.contains(candidate, Qt::CaseInsensitive); ++n) {
        candidate = QStringLiteral("%1 %2").arg(safe).arg(n);
    }
    return candidate;
}
