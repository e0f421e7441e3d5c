#include "core/sqlquote.h"

#include "core/formats.h"

namespace core {

QString q(const QString &value)
{
    QString out;
    out.reserve(value.size() + 2);
    out += u'\'';
    for (QChar c : value) {
        if (c == u'\'')
            out += u'\'';
        out += c;
    }
    out += u'\'';
    return out;
}

QString qNumber(const QString &text)
{
    return q(floatToText(textToFloat(text)));
}

QString qNumber(double value)
{
    return q(floatToText(value));
}

} // namespace core
