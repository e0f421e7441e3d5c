#include "core/sqldialect.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <random>
#include <string>
#include <vector>

namespace {

struct Case
{
    const char *name;
    const char *input;
    const char *expected; // nullptr: the statement must come back unchanged
};

std::ostream &operator<<(std::ostream &os, const Case &c) { return os << c.name; }

class TranslateAccessSql : public testing::TestWithParam<Case>
{};

TEST_P(TranslateAccessSql, Translates)
{
    const Case &c = GetParam();
    const QString in = QString::fromUtf8(c.input);
    const QString expected = c.expected ? QString::fromUtf8(c.expected) : in;
    EXPECT_EQ(core::translateAccessSql(in).toStdString(), expected.toStdString());
}

const Case kCases[] = {
    // Statements that need nothing.
    {"empty", "", nullptr},
    {"plain_select", "select max(编号) as 最大编号 from 流水记录", nullptr},
    {"sum_no_space_before_as", "select sum(消费金额)as zongjine from 消费记录 where 会员卡号 ='0001'", nullptr},
    {"binary_plus_text", "update 会员卡信息 set 积分=积分+'12.5' where 会员卡号='A1'", nullptr},
    {"literal_with_every_trigger",
     "insert into t values('[a] #2024-1-1# true 1=2 delete x from y =+''z'' & \"q\"')", nullptr},
    {"unterminated_literal", "select * from t where a='it''s [x] true & #1/2/2024#", nullptr},
    {"crlf_untouched", "select a,\r\n b\r\nfrom t\r\n", nullptr},

    // true / false.
    {"true_in_set", "update 会员卡信息 set 口头挂失标志=true where 会员卡号='A1'",
     "update 会员卡信息 set 口头挂失标志=-1 where 会员卡号='A1'"},
    {"case_variants", "select * from t where a=TRUE or b=False or c=tRuE",
     "select * from t where a=-1 or b=0 or c=-1"},
    {"true_inside_words", "select trueValue, 真true, true_1, false2, xfalse, 积分true from t", nullptr},
    {"true_in_brackets_and_literals", "select [true] from t where a='true' and b=\"false\"",
     "select \"true\" from t where a='true' and b='false'"},
    {"true_after_minus", "select -true, - true from t", "select -(-1), - -1 from t"},

    // [name] and "text".
    {"brackets_and_true_values",
     "insert into 操作员([操作员],[姓名],[1],[2],[26])\r\nvalues('0001','系统管理员',true,true,false)",
     "insert into 操作员(\"操作员\",\"姓名\",\"1\",\"2\",\"26\")\r\nvalues('0001','系统管理员',-1,-1,0)"},
    {"bracket_with_slash", "insert into 流水记录([退/换货说明],[编号]) values ('a','0000000001')",
     "insert into 流水记录(\"退/换货说明\",\"编号\") values ('a','0000000001')"},
    {"bracket_with_space_and_quote", "select [会员 姓名], [a\"b] from t", "select \"会员 姓名\", \"a\"\"b\" from t"},
    {"unterminated_bracket", "select [abc from t where a=1", nullptr},
    {"double_quoted_text", "select * from t where a=\"x\" and b=\"it's\" and c=\"say \"\"hi\"\"\" and d=\"\"",
     "select * from t where a='x' and b='it''s' and c='say \"hi\"' and d=''"},
    {"double_quoted_keeps_triggers", "select \"[a] #2024-1-1# & true\" from t",
     "select '[a] #2024-1-1# & true' from t"},
    {"unterminated_double_quote", "select \"abc from t", nullptr},

    // #date#.
    {"date_range", "select * from 流水记录 where 日期 between #2024-01-01# and #2024-12-31#",
     "select * from 流水记录 where 日期 between '2024-01-01' and '2024-12-31'"},
    {"date_forms", "select #2024-1-5#, #2024/3/7#, #3/7/2024#, #12/31/2024#, #2024-11-30#",
     "select '2024-01-05', '2024-03-07', '2024-03-07', '2024-12-31', '2024-11-30'"},
    {"date_with_time", "where d>=#2024-3-1 10:00:00# and d<#3/1/2024 9:05# and e=#2024-03-01 1:02:03 PM#",
     "where d>='2024-03-01 10:00:00' and d<'2024-03-01 09:05:00' and e='2024-03-01 13:02:03'"},
    {"leap_day", "select #2024-2-29#", "select '2024-02-29'"},
    {"hash_not_a_date",
     "select #abc#, #2023-2-29#, #2024-13-01#, #24-1-1#, #2024-1-1 25:00#, #2024-1/1#, #true# from t", nullptr},
    {"lone_hash", "select a # b, 'x#y' & true from t", "select a # b, 'x#y' || -1 from t"},
    {"hash_does_not_swallow_literal", "select '#', #2024-1-1# from t", "select '#', '2024-01-01' from t"},

    // Digit column names in an UPDATE's set list.
    {"digit_columns_over_crlf",
     "update 操作员 set 操作员='0001',姓名='x',1='-1',2='0',14='0',\r\n15='-1',26='0' where 操作员='0001'",
     "update 操作员 set 操作员='0001',姓名='x',\"1\"='-1',\"2\"='0',\"14\"='0',\r\n\"15\"='-1',\"26\"='0' where "
     "操作员='0001'"},
    {"digit_column_first_and_spaced", "UPDATE t SET 3 = true , \r\n 4\t=false WHERE x=1",
     "UPDATE t SET \"3\" = -1 , \r\n \"4\"\t=0 WHERE x=1"},
    {"digits_that_are_values", "update t set 积分=积分+5, a=1 where x=1 and 2=2", nullptr},
    {"digits_after_set_list", "update t set a=1 where 1=1", nullptr},
    {"digits_inside_subquery",
     "update t set a=(select max(b) from u where 1=1, 2=2), 5=6 where 7=8",
     "update t set a=(select max(b) from u where 1=1, 2=2), \"5\"=6 where 7=8"},
    {"digits_outside_update", "insert into t values(1,2); select 1=1, 2 from t", nullptr},
    {"digit_not_assigned", "update t set 12+3=4, 5 ='x'", "update t set 12+3=4, \"5\" ='x'"},

    // delete forms.
    {"delete_plain", "delete  from 挂失记录 ", nullptr},
    {"delete_named_table", "delete 口头挂失记录 from 口头挂失记录 where 口头挂失日期<#2024-03-01#",
     "delete from 口头挂失记录 where 口头挂失日期<'2024-03-01'"},
    {"delete_star", "delete * from X", "delete from X"},
    {"delete_qualified_star", "DELETE t.*\r\nFROM t WHERE a=true", "DELETE FROM t WHERE a=-1"},
    {"delete_bracketed", "Delete [挂失 记录] From [挂失 记录]", "Delete From \"挂失 记录\""},
    {"delete_literal_is_no_table", "delete 'x' from t", nullptr},
    {"delete_keyword_elsewhere", "select delete_flag from t where x='delete a from b'", nullptr},

    // Unary plus before text.
    {"unary_plus_team", "update 团队 set 团队成员姓名=+'x',卡号=+'y' where 团队成员卡号='z'",
     "update 团队 set 团队成员姓名='x',卡号='y' where 团队成员卡号='z'"},
    {"unary_plus_card", "update 会员卡信息 set 会员卡号=+'123',会员姓名=+'王'",
     "update 会员卡信息 set 会员卡号='123',会员姓名='王'"},
    {"unary_plus_contexts",
     "+'a' values(+'b', + \"c\") select +'d' where x<>+'e' and +'f' or (+'g')",
     "'a' values('b',  'c') select 'd' where x<>'e' and 'f' or ('g')"},
    {"binary_plus_kept", "select 积分+'5', (a)+'5', 'a'+'b', [x]+'1', 5 +'1', \"q\"+'r', #2024-1-1#+'s'",
     "select 积分+'5', (a)+'5', 'a'+'b', \"x\"+'1', 5 +'1', 'q'+'r', '2024-01-01'+'s'"},
    {"unary_plus_before_number", "update t set a=+5, b=+c", nullptr},

    // & concatenation.
    {"ampersand", "select 姓名 & '先生' &[称呼]&\"x\" from t where a='&'",
     "select 姓名 || '先生' ||\"称呼\"||'x' from t where a='&'"},
    {"ampersand_in_bracket", "select [a&b] from t", "select \"a&b\" from t"},
};

INSTANTIATE_TEST_SUITE_P(Cases, TranslateAccessSql, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

// Splits a translated statement into its single-quoted literals, as written
// (with '' kept), and the text outside them. Double-quoted identifiers are
// stepped over so a quote inside them is not taken for a literal.
struct Split
{
    QStringList literals;
    QString outside;
};

Split splitLiterals(const QString &sql)
{
    Split split;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            qsizetype j = i + 1;
            while (j < n && !(sql[j] == c && (j + 1 >= n || sql[j + 1] != c)))
                j += sql[j] == c ? 2 : 1;
            if (c == u'\'')
                split.literals << sql.mid(i + 1, j - i - 1);
            else
                split.outside += sql.mid(i, j + 1 - i);
            i = j + 1;
        } else {
            split.outside += c;
            ++i;
        }
    }
    return split;
}

// Builds statements from random fragments with random string literals full of
// trigger characters and words, and checks that every literal comes out
// exactly as it went in (double-quoted texts and dates turned into their
// single-quoted form), and that no Jet-only token survives outside them.
TEST(TranslateAccessSqlRandom, LiteralsSurviveUnchanged)
{
    const std::vector<const char *> plain = {
        "会员卡号", "积分", "abc", "trueValue", "真true", "x1", "_t", "select", "update", "set", "where",
        "delete", "from", "and", "or", "not", "values", "insert", "into", "SET", "Where", "=", "<", ">",
        "<>", "<=", ">=", ",", "(", ")", "+", "-", "*", "&", ".", "true", "false", "TRUE", "False", "1",
        "26", "0001", "12.5", "[名称]", "[1]", "[a b]", "[退/换货说明]",
    };
    const std::vector<const char *> literalPieces = {
        "''", "#", "[", "]", "\"", "+", "&", "true", "false", "TRUE", "set", "delete", "from", "1", "26",
        "=", "\r\n", " ", "积分", "会员", "#2024-1-1#", "a", ",", "=+", "*",
    };
    const std::vector<const char *> openings = {"update 操作员 set", "UPDATE t SET", "delete", "delete x", "select",
                                                "insert into t values("};
    const std::vector<const char *> separators = {" ", "\r\n", "\t", "  ", ""};
    struct Date
    {
        const char *jet;
        const char *stored;
    };
    const Date dates[] = {{"#2024-1-5#", "2024-01-05"}, {"#3/7/2024#", "2024-03-07"},
                          {"#2024/12/31#", "2024-12-31"}, {"#2024-02-29 8:30#", "2024-02-29 08:30:00"}};

    std::mt19937 rng(20240301);
    auto pick = [&rng](std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(rng); };
    auto randomText = [&] {
        QString text;
        for (std::size_t k = pick(9); k > 0; --k)
            text += QString::fromUtf8(literalPieces[pick(literalPieces.size())]);
        return text;
    };

    for (int iteration = 0; iteration < 5000; ++iteration) {
        QString sql;
        QStringList expected;
        bool lastWasPlain = false;
        if (pick(2) == 0) {
            sql = QString::fromUtf8(openings[pick(openings.size())]);
            lastWasPlain = true;
        }
        for (std::size_t f = 1 + pick(20); f > 0; --f) {
            const std::size_t kind = pick(10);
            // Quoted fragments must not touch, or '' / "" would join them.
            const bool isPlain = kind < 6;
            if (!sql.isEmpty()) {
                const char *sep = separators[pick(separators.size())];
                sql += QString::fromUtf8(*sep || (isPlain && lastWasPlain) ? sep : " ");
            }
            lastWasPlain = isPlain;
            if (isPlain) {
                sql += QString::fromUtf8(plain[pick(plain.size())]);
            } else if (kind < 8) {
                const QString text = randomText(); // written with '' already
                sql += u'\'' + text + u'\'';
                expected << text;
            } else if (kind == 8) {
                QString text = randomText();
                text.replace(QStringLiteral("''"), QStringLiteral("'"));
                QString jet = text;
                jet.replace(u'"', QStringLiteral("\"\""));
                sql += u'"' + jet + u'"';
                text.replace(u'\'', QStringLiteral("''"));
                expected << text;
            } else {
                const Date &d = dates[pick(std::size(dates))];
                sql += QString::fromUtf8(d.jet);
                expected << QString::fromUtf8(d.stored);
            }
        }

        const QString out = core::translateAccessSql(sql);
        const Split split = splitLiterals(out);
        ASSERT_EQ(split.literals, expected) << "input: " << sql.toStdString();
        ASSERT_FALSE(split.outside.contains(u'&') || split.outside.contains(u'[') || split.outside.contains(u'#'))
            << "input: " << sql.toStdString() << "\noutput: " << out.toStdString();
    }
}

} // namespace
