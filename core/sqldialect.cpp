#include "core/sqldialect.h"

#include <utility>

// One left-to-right pass over UTF-16 code units. Output is built lazily: spans
// that need no change are never copied one by one, they are appended in bulk
// when the next change is made. A statement that needs no change is returned
// as the same (implicitly shared) QString, without any allocation.

namespace core {
namespace {

enum class Keyword {
    None,
    True,
    False,
    Update,
    Delete,
    Set,
    Where,
    From,
    // Keywords after which a '+' can only be unary.
    BeforeExpr,
};

inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

enum CharClass : unsigned char { Other, Space, Word };

constexpr auto kAsciiClass = [] {
    struct Table
    {
        CharClass c[128] = {};
    } t;
    for (int i = 0; i < 128; ++i) {
        if (i == ' ' || (i >= '\t' && i <= '\r'))
            t.c[i] = Space;
        else if ((i >= 'a' && i <= 'z') || (i >= 'A' && i <= 'Z') || (i >= '0' && i <= '9') || i == '_')
            t.c[i] = Word;
    }
    return t;
}();

// CJK ideographs are the bulk of non-ASCII text here; settle them without a
// Unicode table lookup.
inline bool isCjkIdeograph(char16_t c) { return c >= 0x3400 && c <= 0x9FFF; }

inline bool isSpace(char16_t c)
{
    if (c < 0x80)
        return kAsciiClass.c[c] == Space;
    // Unicode white space (the Z* categories and NEL), as QChar::isSpace().
    return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028
        || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// Identifier characters. Anything outside ASCII that is a letter, digit or
// combining mark counts, so Chinese column names are single words and a
// keyword glued to them (真true) is not a keyword. Surrogates only occur in
// pairs for CJK extension characters, so treat both halves as letters.
inline bool isWordChar(char16_t c)
{
    if (c < 0x80)
        return kAsciiClass.c[c] == Word;
    if (isCjkIdeograph(c))
        return true;
    const QChar q(c);
    return q.isLetterOrNumber() || q.isMark() || q.isSurrogate();
}

// Case-insensitive match of a word against a lower-case ASCII keyword. OR-ing
// 0x20 only maps 'A'-'Z' onto the keyword's letters; no other code unit can
// produce a lower-case letter that way.
template <qsizetype N>
inline bool wordIs(const char16_t *p, qsizetype len, const char (&kw)[N])
{
    if (len != N - 1)
        return false;
    for (qsizetype i = 0; i < len; ++i) {
        if (char16_t(p[i] | 0x20) != char16_t(kw[i]))
            return false;
    }
    return true;
}

Keyword classify(const char16_t *p, qsizetype len)
{
    switch (len) {
    case 2:
        if (wordIs(p, len, "or") || wordIs(p, len, "in") || wordIs(p, len, "on")
            || wordIs(p, len, "is") || wordIs(p, len, "by"))
            return Keyword::BeforeExpr;
        break;
    case 3:
        if (wordIs(p, len, "set"))
            return Keyword::Set;
        if (wordIs(p, len, "and") || wordIs(p, len, "not"))
            return Keyword::BeforeExpr;
        break;
    case 4:
        if (wordIs(p, len, "true"))
            return Keyword::True;
        if (wordIs(p, len, "from"))
            return Keyword::From;
        if (wordIs(p, len, "like") || wordIs(p, len, "when") || wordIs(p, len, "then")
            || wordIs(p, len, "else") || wordIs(p, len, "case"))
            return Keyword::BeforeExpr;
        break;
    case 5:
        if (wordIs(p, len, "false"))
            return Keyword::False;
        if (wordIs(p, len, "where"))
            return Keyword::Where;
        break;
    case 6:
        if (wordIs(p, len, "update"))
            return Keyword::Update;
        if (wordIs(p, len, "delete"))
            return Keyword::Delete;
        if (wordIs(p, len, "select") || wordIs(p, len, "values") || wordIs(p, len, "having"))
            return Keyword::BeforeExpr;
        break;
    case 7:
        if (wordIs(p, len, "between"))
            return Keyword::BeforeExpr;
        break;
    case 8:
        if (wordIs(p, len, "distinct"))
            return Keyword::BeforeExpr;
        break;
    default:
        break;
    }
    return Keyword::None;
}

inline qsizetype wordEnd(const char16_t *s, qsizetype i, qsizetype n)
{
    while (i < n && isWordChar(s[i]))
        ++i;
    return i;
}

inline qsizetype skipSpace(const char16_t *s, qsizetype i, qsizetype n)
{
    while (i < n && isSpace(s[i]))
        ++i;
    return i;
}

// Reads 1..maxDigits digits at p[i]; returns the digit count, 0 if none.
inline int readNumber(const char16_t *p, qsizetype &i, qsizetype n, int maxDigits, int &value)
{
    int count = 0;
    value = 0;
    while (i < n && isDigit(p[i])) {
        if (++count > maxDigits)
            return 0;
        value = value * 10 + (p[i] - u'0');
        ++i;
    }
    return count;
}

inline char16_t *put2(char16_t *w, int v)
{
    *w++ = char16_t(u'0' + v / 10);
    *w++ = char16_t(u'0' + v % 10);
    return w;
}

// Parses the text between two '#' as a Jet date: y-m-d, y/m/d, m/d/y or m-d-y,
// optionally followed by h:mm[:ss] [AM|PM]. Writes yyyy-MM-dd[ HH:mm:ss] (the
// stored form, whose text order is date order) and returns its length, or 0
// when the text is not a valid date.
int parseDate(const char16_t *p, qsizetype n, char16_t *out)
{
    qsizetype i = skipSpace(p, 0, n);
    while (n > i && isSpace(p[n - 1]))
        --n;

    int a, b, c;
    const int da = readNumber(p, i, n, 4, a);
    if (da == 0 || i >= n || (p[i] != u'-' && p[i] != u'/'))
        return 0;
    const char16_t sep = p[i++];
    const int db = readNumber(p, i, n, 2, b);
    if (db == 0 || i >= n || p[i] != sep)
        return 0;
    ++i;
    const int dc = readNumber(p, i, n, 4, c);

    int year, month, day;
    if (da == 4 && dc >= 1 && dc <= 2) {
        year = a, month = b, day = c;
    } else if (da <= 2 && dc == 4) {
        month = a, day = b, year = c;
    } else {
        return 0;
    }
    static constexpr int monthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > monthDays[month - 1])
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap)
        return 0;

    int hour = -1, minute = 0, second = 0;
    if (i < n) {
        const qsizetype beforeSpace = i;
        i = skipSpace(p, i, n);
        if (i == beforeSpace)
            return 0;
        if (readNumber(p, i, n, 2, hour) == 0 || i >= n || p[i] != u':')
            return 0;
        ++i;
        if (readNumber(p, i, n, 2, minute) != 2)
            return 0;
        if (i < n && p[i] == u':') {
            ++i;
            if (readNumber(p, i, n, 2, second) != 2)
                return 0;
        }
        if (i < n) {
            // 12-hour clock, as Jet writes US times.
            i = skipSpace(p, i, n);
            if (n - i != 2 || (p[i + 1] | 0x20) != u'm')
                return 0;
            const char16_t ap = p[i] | 0x20;
            if ((ap != u'a' && ap != u'p') || hour < 1 || hour > 12)
                return 0;
            hour = hour % 12 + (ap == u'p' ? 12 : 0);
        }
        if (hour > 23 || minute > 59 || second > 59)
            return 0;
    }

    char16_t *w = out;
    w = put2(w, year / 100);
    w = put2(w, year % 100);
    *w++ = u'-';
    w = put2(w, month);
    *w++ = u'-';
    w = put2(w, day);
    if (hour >= 0) {
        *w++ = u' ';
        w = put2(w, hour);
        *w++ = u':';
        w = put2(w, minute);
        *w++ = u':';
        w = put2(w, second);
    }
    return int(w - out);
}

class Writer
{
public:
    Writer(const QString &sql, const char16_t *s) : m_sql(sql), m_s(s) {}

    // Copies the untouched input up to `from`, then drops the input up to
    // `to`; the caller appends the replacement.
    void replace(qsizetype from, qsizetype to)
    {
        if (!m_changed) {
            m_changed = true;
            m_out.reserve(m_sql.size() + m_sql.size() / 4 + 16);
        }
        m_out.append(reinterpret_cast<const QChar *>(m_s + m_flushed), from - m_flushed);
        m_flushed = to;
    }

    void append(const char16_t *p, qsizetype len)
    {
        m_out.append(reinterpret_cast<const QChar *>(p), len);
    }
    void append(char16_t c) { m_out.append(QChar(c)); }
    void appendAscii(const char *text, qsizetype len) { m_out.append(QLatin1String(text, len)); }

    QString finish()
    {
        if (!m_changed)
            return m_sql;
        replace(m_sql.size(), m_sql.size());
        return std::move(m_out);
    }

private:
    const QString &m_sql;
    const char16_t *m_s;
    QString m_out;
    qsizetype m_flushed = 0;
    bool m_changed = false;
};

// Appends body with every `quote` doubled; `undouble` (if non-zero) is a
// doubled character of the source dialect to collapse to one.
void appendQuoted(Writer &w, const char16_t *body, qsizetype len, char16_t quote, char16_t undouble)
{
    w.append(quote);
    qsizetype run = 0;
    for (qsizetype k = 0; k < len; ++k) {
        const char16_t c = body[k];
        if (c == quote) {
            w.append(body + run, k + 1 - run); // includes the quote...
            w.append(quote); // ...and its double
            run = k + 1;
        } else if (undouble && c == undouble) {
            w.append(body + run, k + 1 - run);
            ++k; // the source doubled it; keep one
            run = k + 1;
        }
    }
    w.append(body + run, len - run);
    w.append(quote);
}

} // namespace

QString translateAccessSql(const QString &sql)
{
    const qsizetype n = sql.size();
    const char16_t *s = reinterpret_cast<const char16_t *>(sql.constData());
    Writer out(sql, s);

    // A '+' here would be unary: start of statement, after an operator or '('
    // or ',', or after a keyword that introduces an expression.
    bool unaryContext = true;
    int depth = 0;
    bool firstToken = true;
    bool isUpdate = false;
    bool setSeen = false;
    bool inSetList = false;
    // The next significant token starts an assignment of the set list.
    bool assignmentStart = false;

    qsizetype i = 0;
    while (i < n) {
        const char16_t c = s[i];
        if (isSpace(c)) {
            ++i;
            continue;
        }
        const bool atStatementStart = firstToken;
        const bool atAssignment = assignmentStart;
        firstToken = false;
        assignmentStart = false;

        if (c == u'\'') {
            // Copied verbatim; '' is the escaped quote. Unterminated: the rest.
            qsizetype j = i + 1;
            while (j < n) {
                if (s[j] == u'\'') {
                    if (j + 1 < n && s[j + 1] == u'\'') {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            i = j;
            unaryContext = false;
            continue;
        }

        if (c == u'"' || c == u'[') {
            // "text" is a Jet string -> 'text'; [name] is an identifier -> "name".
            const bool isString = c == u'"';
            const char16_t close = isString ? u'"' : u']';
            qsizetype j = i + 1;
            while (j < n) {
                if (s[j] == close) {
                    if (isString && j + 1 < n && s[j + 1] == u'"') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            if (j >= n) // unterminated: leave it for the engine to report
                break;
            out.replace(i, j + 1);
            if (isString)
                appendQuoted(out, s + i + 1, j - i - 1, u'\'', u'"');
            else
                appendQuoted(out, s + i + 1, j - i - 1, u'"', 0);
            i = j + 1;
            unaryContext = false;
            continue;
        }

        if (c == u'#') {
            // Date literals never span quotes, brackets or lines; stopping
            // there also keeps a stray '#' from swallowing a literal.
            qsizetype j = i + 1;
            while (j < n) {
                const char16_t d = s[j];
                if (d == u'#' || d == u'\'' || d == u'"' || d == u'[' || d == u']' || d == u'\r'
                    || d == u'\n' || d == u';')
                    break;
                ++j;
            }
            if (j < n && s[j] == u'#') {
                char16_t buf[32];
                const qsizetype len = j - i - 1 <= 40 ? parseDate(s + i + 1, j - i - 1, buf) : 0;
                if (len > 0) {
                    out.replace(i, j + 1);
                    out.append(u'\'');
                    out.append(buf, len);
                    out.append(u'\'');
                }
                // Not a date: the whole #...# stays as written.
                i = j + 1;
                unaryContext = false;
            } else {
                ++i;
                unaryContext = true;
            }
            continue;
        }

        if (isWordChar(c)) {
            const qsizetype j = wordEnd(s, i, n);
            if (isDigit(c)) {
                if (atAssignment) {
                    // set 1='-1': a digit-only column name must be quoted, or
                    // SQLite reads it as a number.
                    qsizetype k = i;
                    while (k < j && isDigit(s[k]))
                        ++k;
                    if (k == j) {
                        const qsizetype next = skipSpace(s, j, n);
                        if (next < n && s[next] == u'=') {
                            out.replace(i, j);
                            out.append(u'"');
                            out.append(s + i, j - i);
                            out.append(u'"');
                        }
                    }
                }
                i = j;
                unaryContext = false;
                continue;
            }

            const Keyword kw = classify(s + i, j - i);
            unaryContext = false;
            switch (kw) {
            case Keyword::True:
                out.replace(i, j);
                // After a '-', "-1" would make "--1", a comment.
                if (i > 0 && s[i - 1] == u'-')
                    out.appendAscii("(-1)", 4);
                else
                    out.appendAscii("-1", 2);
                break;
            case Keyword::False:
                out.replace(i, j);
                out.append(u'0');
                break;
            case Keyword::Update:
                if (atStatementStart)
                    isUpdate = true;
                break;
            case Keyword::Set:
                if (isUpdate && !setSeen && depth == 0) {
                    setSeen = inSetList = assignmentStart = true;
                }
                unaryContext = true;
                break;
            case Keyword::Where:
                if (inSetList && depth == 0)
                    inSetList = false;
                unaryContext = true;
                break;
            case Keyword::BeforeExpr:
                unaryContext = true;
                break;
            case Keyword::Delete:
                if (atStatementStart) {
                    // delete X from X / delete * from X / delete t.* from t:
                    // SQLite takes only "delete from X", so drop what stands
                    // between DELETE and FROM.
                    const qsizetype target = skipSpace(s, j, n);
                    qsizetype k = target;
                    bool sawTarget = false;
                    bool found = false;
                    while (k < n) {
                        const char16_t d = s[k];
                        if (isSpace(d)) {
                            ++k;
                        } else if (d == u'.' || d == u'*') {
                            sawTarget = true;
                            ++k;
                        } else if (d == u'[') {
                            while (k < n && s[k] != u']')
                                ++k;
                            if (k == n)
                                break;
                            ++k;
                            sawTarget = true;
                        } else if (isWordChar(d)) {
                            const qsizetype e = wordEnd(s, k, n);
                            if (wordIs(s + k, e - k, "from")) {
                                found = true;
                                break;
                            }
                            k = e;
                            sawTarget = true;
                        } else {
                            break;
                        }
                    }
                    if (found && sawTarget) {
                        out.replace(target, k);
                        i = k;
                        continue;
                    }
                }
                break;
            case Keyword::From:
            case Keyword::None:
                break;
            }
            i = j;
            continue;
        }

        // Operators and punctuation, one code unit at a time.
        switch (c) {
        case u'(':
            ++depth;
            break;
        case u')':
            --depth;
            break;
        case u',':
            if (inSetList && depth == 0)
                assignmentStart = true;
            break;
        case u';':
            if (depth == 0) {
                firstToken = true;
                isUpdate = setSeen = inSetList = false;
            }
            break;
        case u'&':
            out.replace(i, i + 1);
            out.appendAscii("||", 2);
            break;
        case u'+':
            if (unaryContext) {
                const qsizetype next = skipSpace(s, i + 1, n);
                if (next < n && (s[next] == u'\'' || s[next] == u'"'))
                    out.replace(i, i + 1);
            }
            break;
        default:
            break;
        }
        unaryContext = c != u')';
        ++i;
    }

    return out.finish();
}

} // namespace core
