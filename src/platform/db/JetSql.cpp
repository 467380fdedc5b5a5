#include "JetSql.h"

#include <QRegularExpression>

namespace db {

namespace {

// Walks sql and calls plain(i) for every character outside literals, quoted
// names and comments; the callback may append what it likes for it.
template <typename Plain, typename Other> void walkSql(const QString& sql, Plain plain, Other other)
{
    const int n = static_cast<int>(sql.size());
    int i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        QChar close;
        if (c == QLatin1Char('\''))
            close = QLatin1Char('\'');
        else if (c == QLatin1Char('"'))
            close = QLatin1Char('"');
        else if (c == QLatin1Char('`'))
            close = QLatin1Char('`');
        else if (c == QLatin1Char('['))
            close = QLatin1Char(']');

        if (!close.isNull()) {
            int j = i + 1;
            while (j < n) {
                if (sql.at(j) == close) {
                    // A doubled quote stays inside the literal.
                    if (close != QLatin1Char(']') && j + 1 < n && sql.at(j + 1) == close) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const int end = qMin(j + 1, n);
            other(sql.mid(i, end - i));
            i = end;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            int j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n;
            other(sql.mid(i, j - i));
            i = j;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            int j = sql.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            other(sql.mid(i, j - i));
            i = j;
            continue;
        }
        plain(c);
        ++i;
    }
}

// The text with literals, quoted names and comments blanked out, so that a
// keyword search cannot be fooled by a value like 'union.doc'.
QString blankedLiterals(const QString& sql)
{
    QString out;
    out.reserve(sql.size());
    walkSql(
        sql, [&](QChar c) { out.append(c); },
        [&](const QString& piece) {
            const QChar first = piece.at(0);
            if (piece.size() >= 2 && (first == QLatin1Char('[') || first == QLatin1Char('"') ||
                                      first == QLatin1Char('`'))) {
                // Names keep their delimiters so the table name can still be found.
                out.append(first);
                out.append(QString(piece.size() - 2, QLatin1Char('x')));
                out.append(piece.back());
            } else {
                out.append(QString(piece.size(), QLatin1Char(' ')));
            }
        });
    return out;
}

QString unbracketed(const QString& name)
{
    if (name.size() >= 2 &&
        ((name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']'))) ||
         (name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"'))) ||
         (name.startsWith(QLatin1Char('`')) && name.endsWith(QLatin1Char('`')))))
        return name.mid(1, name.size() - 2);
    return name;
}

} // namespace

QString translateJetSql(const QString& sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    walkSql(
        sql,
        [&](QChar c) {
            if (c == QLatin1Char('/'))
                out.append(QLatin1String("*1.0/"));
            else
                out.append(c);
        },
        [&](const QString& piece) { out.append(piece); });
    return out;
}

QString withoutTrailingSemicolons(const QString& sql)
{
    QString text = sql.trimmed();
    while (text.endsWith(QLatin1Char(';')))
        text = text.left(text.size() - 1).trimmed();
    return text;
}

std::optional<QString> bareTableName(const QString& source)
{
    static const QRegularExpression name(
        QStringLiteral("^(\\[[^\\]]+\\]|[A-Za-z_][A-Za-z0-9_]*)$"));
    const QString text = withoutTrailingSemicolons(source);
    if (!name.match(text).hasMatch())
        return std::nullopt;
    return unbracketed(text);
}

std::optional<SingleTableSelect> parseSingleTableSelect(const QString& sql)
{
    const QString text = withoutTrailingSemicolons(sql);
    const QString blank = blankedLiterals(text);
    static const QRegularExpression forbidden(
        QStringLiteral("\\b(distinct|join|group|having|union|except|intersect|limit|window)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    if (forbidden.match(blank).hasMatch())
        return std::nullopt;
    static const QRegularExpression shape(
        QStringLiteral(
            "^\\s*select\\s+.+?\\s+from\\s+(\\[[^\\]]+\\]|\"[^\"]+\"|[A-Za-z_][A-Za-z0-9_]*)"
            "\\s*((where|order\\s+by)\\b.*)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = shape.match(blank);
    if (!match.hasMatch())
        return std::nullopt;
    // Positions in the blanked text are those of the real text.
    SingleTableSelect result;
    result.table = unbracketed(text.mid(match.capturedStart(1), match.capturedLength(1)));
    if (match.capturedStart(2) >= 0)
        result.rest = text.mid(match.capturedStart(2));
    return result;
}

QString quoteIdentifier(const QString& name)
{
    // Every recordset open quotes each of its columns: the usual name, with
    // no quote in it, is built in one allocation.
    if (!name.contains(QLatin1Char('"'))) {
        QString quoted;
        quoted.reserve(name.size() + 2);
        quoted.append(QLatin1Char('"')).append(name).append(QLatin1Char('"'));
        return quoted;
    }
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace db
