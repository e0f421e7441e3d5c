#include "tools/demogen.h"

#include "core/database.h"
#include "core/schema.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <sqlcipher/sqlite3.h>

namespace demo {
namespace {

using Rng = std::mt19937_64;

// Plain C API with bound parameters: millions of rows, no room for QString
// or statement text per row.
class Statement {
public:
    Statement(sqlite3 *db, const char *sql)
        : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_s, nullptr) != SQLITE_OK)
            fail();
    }
    ~Statement() { sqlite3_finalize(m_s); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    // Bound values are not copied: they must live until run().
    void text(int i, const std::string &v) { sqlite3_bind_text(m_s, i, v.data(), int(v.size()), SQLITE_STATIC); }
    void text(int i, const char *v) { sqlite3_bind_text(m_s, i, v, -1, SQLITE_STATIC); }
    void real(int i, double v) { sqlite3_bind_double(m_s, i, v); }
    void integer(int i, qint64 v) { sqlite3_bind_int64(m_s, i, v); }
    void null(int i) { sqlite3_bind_null(m_s, i); }
    void run()
    {
        if (sqlite3_step(m_s) != SQLITE_DONE)
            fail();
        sqlite3_reset(m_s);
    }
    bool row() { return sqlite3_step(m_s) == SQLITE_ROW; }
    sqlite3_stmt *get() const { return m_s; }

private:
    [[noreturn]] void fail() const { throw core::DbError(QString::fromUtf8(sqlite3_errmsg(m_db))); }
    sqlite3 *m_db;
    sqlite3_stmt *m_s = nullptr;
};

void exec(sqlite3 *db, const char *sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString text = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw core::DbError(text);
    }
}

double scalar(sqlite3 *db, const char *sql)
{
    Statement st(db, sql);
    return st.row() ? sqlite3_column_double(st.get(), 0) : 0;
}

// ---- tables the names and addresses are drawn from ----

const char *const kSurnames[] = {
    "王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱", "胡", "郭", "何",
    "高", "林", "罗", "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹", "彭", "曾", "肖", "田",
    "董", "袁", "潘", "于", "蒋", "蔡", "余", "杜", "叶", "程", "苏", "魏", "吕", "丁", "任", "沈", "姚",
    "卢", "姜", "崔", "钟", "谭", "陆", "汪", "范", "金", "石", "廖", "贾", "夏", "韦", "方", "白", "邹",
    "孟", "熊", "秦", "邱", "江", "尹", "薛", "段", "雷", "侯", "龙", "史", "陶", "黎", "贺", "顾", "毛",
    "郝", "龚", "邵", "万", "钱", "严", "武", "戴", "莫", "孔", "向", "汤", "欧阳", "司马", "诸葛"};

const char kMaleChars[] = "伟强磊军勇杰涛斌超明刚平辉鹏华飞鑫波宇浩凯健俊帆帅旭宁龙林洋峰建国志斌海东亮博晨阳";
const char kFemaleChars[] = "芳娜敏静丽艳娟霞秀玲桂英燕萍红婷雪琳颖倩洁慧璐丹佳怡欣蕾梅莉晶琴月莹薇媛";
const char kMiddleChars[] = "小子文晓海春秋一思雨天嘉志永新安金梓俊美家明";

struct District {
    const char *name;
    const char *postcode;
};
const District kDistricts[] = {{"上城区", "310002"}, {"拱墅区", "310011"}, {"西湖区", "310012"},
                               {"滨江区", "310051"}, {"萧山区", "311200"}, {"余杭区", "311100"},
                               {"临平区", "311199"}, {"钱塘区", "310018"}};
const char *const kStreets[] = {"延安路", "解放路", "凤起路", "庆春路", "文三路", "文一西路", "天目山路",
                                "莫干山路", "体育场路", "江南大道", "滨盛路", "市心路", "人民大道", "建设三路"};
const char *const kRemarks[] = {"老顾客", "喜欢饮品", "需要发票", "周末来店", "家人同用一卡", "电话回访过"};

struct Category {
    const char *name;
    double ratio, discount, floor;
    int redeem, cash;
    int weight; // share of members, percent
};
// 积分卡 comes with the delivered database; the others are added.
const Category kCategories[] = {{"积分卡", 1, 100, 0, 0, 0, 75},
                                {"银卡", 1, 95, 1000, -1, 0, 17},
                                {"金卡", 1, 90, 5000, -1, 0, 6},
                                {"钻石卡", 1, 85, 20000, -1, -1, 2}};
constexpr int kCategoryCount = int(std::size(kCategories));

struct Product {
    const char *group, *code, *name, *unit;
    double price;
};
const Product kProducts[] = {
    {"洗护", "1001", "洗发水", "瓶", 39.8},   {"洗护", "1002", "护发素", "瓶", 36},
    {"洗护", "1003", "沐浴露", "瓶", 32.5},   {"洗护", "1004", "洗面奶", "支", 45},
    {"洗护", "1005", "牙膏", "支", 12.8},     {"洗护", "1006", "牙刷", "支", 6.5},
    {"洗护", "1007", "洗衣液", "瓶", 28.9},   {"洗护", "1008", "香皂", "块", 5.5},
    {"洗护", "1009", "护手霜", "支", 18},     {"洗护", "1010", "面膜", "盒", 68},
    {"饮品", "2001", "矿泉水", "瓶", 2},      {"饮品", "2002", "绿茶", "瓶", 3.5},
    {"饮品", "2003", "橙汁", "瓶", 6.8},      {"饮品", "2004", "咖啡", "杯", 18},
    {"饮品", "2005", "酸奶", "盒", 5.5},      {"饮品", "2006", "纯牛奶", "箱", 59},
    {"饮品", "2007", "菊花茶", "包", 15},     {"饮品", "2008", "乌龙茶", "盒", 88},
    {"饮品", "2009", "可乐", "听", 3},        {"饮品", "2010", "豆浆", "杯", 4},
    {"理疗", "3001", "足疗", "次", 98},       {"理疗", "3002", "推拿", "次", 128},
    {"理疗", "3003", "拔罐", "次", 60},       {"理疗", "3004", "刮痧", "次", 50},
    {"理疗", "3005", "艾灸", "次", 80},       {"理疗", "3006", "头部按摩", "次", 68},
    {"理疗", "3007", "肩颈理疗", "次", 118},  {"理疗", "3008", "精油开背", "次", 158},
    {"理疗", "3009", "泡脚药包", "包", 25},   {"理疗", "3010", "热敷贴", "盒", 35},
};
constexpr int kProductCount = int(std::size(kProducts));

struct Gift {
    const char *name;
    int points;
};
const Gift kGifts[] = {{"购物袋", 50},  {"牙膏", 100},   {"抽纸", 120},   {"毛巾", 200},    {"水杯", 300},
                       {"洗衣液", 400}, {"雨伞", 500},   {"保温杯", 800}, {"台灯", 1500},   {"电饭煲", 3000}};
constexpr int kGiftCount = int(std::size(kGifts));

struct Award {
    const char *reason;
    int points;
};
const Award kAwards[] = {{"生日赠送积分", 50}, {"店庆活动赠送", 100}, {"积分补录", 30}};
const char *const kReturnReasons[] = {"质量问题", "顾客不满意", "包装破损", "买错了"};

const char kClerk[] = "0001";

std::vector<std::string> splitChars(const char *utf8)
{
    std::vector<std::string> out;
    for (const char *p = utf8; *p;) {
        const char *start = p++;
        while ((*p & 0xC0) == 0x80)
            ++p;
        out.emplace_back(start, p);
    }
    return out;
}

std::string fmt(const char *format, long long v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

std::string timeText(int seconds)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buf;
}

std::string dateText(const QDate &d)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year(), d.month(), d.day());
    return buf;
}

double round2(double v)
{
    return std::round(v * 100) / 100;
}

struct Member {
    std::string card, name;
    int startDay = 0; // index into the date window
    int category = 0;
    int referrer = -1;
    bool female = false;
    double points = 0;
};

enum Kind : quint8 { Purchase, Return, Redeem, Referral, Bonus };

struct Event {
    qint32 day;
    qint32 second;
    qint32 member;
    Kind kind;
};

int pick(Rng &rng, int n)
{
    return int(std::uniform_int_distribution<int>(0, n - 1)(rng));
}

bool chance(Rng &rng, double p)
{
    return std::uniform_real_distribution<double>(0, 1)(rng) < p;
}

// Shop hours, 08:00 to 21:59.
int shopSecond(Rng &rng)
{
    return std::uniform_int_distribution<int>(8 * 3600, 22 * 3600 - 1)(rng);
}

} // namespace

Summary generate(const QString &path, const Options &options)
{
    QElapsedTimer timer;
    timer.start();
    Rng rng(options.seed);

    const qint64 memberCount = std::max<qint64>(0, options.members);
    qint64 ledgerTarget = options.ledger < 0 ? 10 * memberCount : options.ledger;
    qint64 linesTarget = options.consumption < 0 ? 20 * memberCount : options.consumption;
    if (memberCount == 0) // rows belong to the members made here
        ledgerTarget = linesTarget = 0;

    const bool fresh = options.fresh || !QFileInfo(path).isFile();
    if (fresh)
        core::createDeliveredDatabase(path);

    core::Database database;
    database.open(path);
    sqlite3 *db = database.handle();
    // A bulk load that is simply rerun if it breaks: a rollback journal writes
    // far less than WAL for one huge transaction, and nothing needs syncing.
    exec(db, "PRAGMA journal_mode = DELETE");
    exec(db, "PRAGMA synchronous = OFF");
    exec(db, "PRAGMA cache_size = -262144");
    exec(db, "PRAGMA temp_store = MEMORY");

    exec(db, "BEGIN IMMEDIATE");

    const qint64 firstCard =
        qint64(scalar(db, "SELECT max(CAST(会员卡号 AS INTEGER)) FROM 会员卡信息 "
                          "WHERE 会员卡号 <> '' AND 会员卡号 NOT GLOB '*[^0-9]*'")) + 1;
    qint64 nextNumber = qint64(std::max(scalar(db, "SELECT max(CAST(编号 AS INTEGER)) FROM 流水记录 "
                                                   "WHERE 编号 <> '' AND 编号 NOT GLOB '*[^0-9]*'"),
                                        scalar(db, "SELECT max(CAST(编号 AS INTEGER)) FROM 消费记录 "
                                                   "WHERE 编号 <> '' AND 编号 NOT GLOB '*[^0-9]*'")))
        + 1;

    // Settings rows, each only when missing, so a second run adds no copies.
    {
        Statement st(db, "INSERT INTO 卡类别 (卡类别,积分比例,折扣,自动变卡下限,允许兑换礼品,允许返现金) "
                         "SELECT ?1,?2,?3,?4,?5,?6 WHERE NOT EXISTS (SELECT 1 FROM 卡类别 WHERE 卡类别=?1)");
        for (const Category &c : kCategories) {
            st.text(1, c.name);
            st.real(2, c.ratio);
            st.real(3, c.discount);
            st.real(4, c.floor);
            st.integer(5, c.redeem);
            st.integer(6, c.cash);
            st.run();
        }
    }
    {
        Statement st(db, "INSERT INTO 商品档案 (所属类别,商品编号,商品名称,单位,预设单价) "
                         "SELECT ?1,?2,?3,?4,?5 WHERE NOT EXISTS (SELECT 1 FROM 商品档案 WHERE 商品编号=?2)");
        for (const Product &p : kProducts) {
            st.text(1, p.group);
            st.text(2, p.code);
            st.text(3, p.name);
            st.text(4, p.unit);
            st.real(5, p.price);
            st.run();
        }
    }
    {
        Statement st(db, "INSERT INTO 兑换项目 (兑换项目,兑换积分) "
                         "SELECT ?1,?2 WHERE NOT EXISTS (SELECT 1 FROM 兑换项目 WHERE 兑换项目=?1)");
        for (const Gift &g : kGifts) {
            st.text(1, g.name);
            st.real(2, g.points);
            st.run();
        }
    }
    if (fresh)
        exec(db, "UPDATE 引荐积分 SET 引荐积分 = 20");
    const double referralPoints = scalar(db, "SELECT 引荐积分 FROM 引荐积分");

    // The rules that apply are the ones in the file, which may have been edited.
    double ratio[kCategoryCount], discount[kCategoryCount];
    bool mayRedeem[kCategoryCount];
    {
        Statement st(db, "SELECT 积分比例, 折扣, 允许兑换礼品 FROM 卡类别 WHERE 卡类别=?1");
        for (int i = 0; i < kCategoryCount; ++i) {
            st.text(1, kCategories[i].name);
            const bool found = st.row();
            ratio[i] = found ? sqlite3_column_double(st.get(), 0) : kCategories[i].ratio;
            discount[i] = found ? sqlite3_column_double(st.get(), 1) : kCategories[i].discount;
            mayRedeem[i] = found ? sqlite3_column_int(st.get(), 2) != 0 : kCategories[i].redeem != 0;
            if (discount[i] <= 0)
                discount[i] = 100;
            sqlite3_reset(st.get());
        }
    }

    // The date window: six years up to today, one text per day.
    const QDate today = QDate::currentDate();
    const QDate windowStart = today.addYears(-6);
    const int windowDays = int(windowStart.daysTo(today)) + 1;
    std::vector<std::string> dates(static_cast<size_t>(windowDays));
    for (int i = 0; i < windowDays; ++i)
        dates[size_t(i)] = dateText(windowStart.addDays(i));

    // ---- members, card numbers in the order they joined ----
    const auto male = splitChars(kMaleChars);
    const auto female = splitChars(kFemaleChars);
    const auto middle = splitChars(kMiddleChars);
    std::vector<double> surnameWeights;
    for (size_t i = 0; i < std::size(kSurnames); ++i)
        surnameWeights.push_back(1.0 / double(i + 4)); // common surnames first
    std::discrete_distribution<int> surnameDist(surnameWeights.begin(), surnameWeights.end());
    std::discrete_distribution<int> categoryDist({double(kCategories[0].weight), double(kCategories[1].weight),
                                                  double(kCategories[2].weight), double(kCategories[3].weight)});

    std::vector<Member> members(static_cast<size_t>(memberCount));
    {
        std::vector<int> starts(static_cast<size_t>(memberCount));
        for (int &s : starts)
            s = pick(rng, windowDays);
        std::sort(starts.begin(), starts.end());
        for (qint64 i = 0; i < memberCount; ++i) {
            Member &m = members[size_t(i)];
            m.card = fmt("%08lld", firstCard + i);
            m.startDay = starts[size_t(i)];
            m.category = categoryDist(rng);
        }
    }

    // The rest of a member's details are made when the row is written; the
    // name is needed by the ledger first.
    for (qint64 i = 0; i < memberCount; ++i) {
        Member &m = members[size_t(i)];
        m.female = chance(rng, 0.55);
        const auto &own = m.female ? female : male;
        m.name = kSurnames[surnameDist(rng)];
        if (chance(rng, 0.65))
            m.name += chance(rng, 0.5) ? middle[size_t(pick(rng, int(middle.size())))]
                                       : own[size_t(pick(rng, int(own.size())))];
        m.name += own[size_t(pick(rng, int(own.size())))];
        if (i > 0 && chance(rng, 0.04))
            m.referrer = pick(rng, int(i));
    }

    // ---- the ledger events, sorted by time ----
    std::vector<Event> events;
    events.reserve(size_t(ledgerTarget));
    for (qint64 i = 0; i < memberCount && qint64(events.size()) < ledgerTarget; ++i) {
        const Member &m = members[size_t(i)];
        if (m.referrer >= 0)
            events.push_back({m.startDay, shopSecond(rng), m.referrer, Referral});
    }
    if (ledgerTarget > qint64(events.size())) {
        // Any member who has joined is as likely to shop on a given day, so
        // pick members by how long they have been with the shop.
        std::vector<double> tenure(static_cast<size_t>(memberCount));
        for (qint64 i = 0; i < memberCount; ++i)
            tenure[size_t(i)] = double(windowDays - members[size_t(i)].startDay);
        std::discrete_distribution<int> memberDist(tenure.begin(), tenure.end());
        std::discrete_distribution<int> kindDist({84.0, 4.0, 10.0, 0.0, 2.0});
        while (qint64(events.size()) < ledgerTarget) {
            const int who = memberDist(rng);
            const Member &m = members[size_t(who)];
            const int day = m.startDay + pick(rng, windowDays - m.startDay);
            Kind kind = Kind(kindDist(rng));
            if (kind == Redeem && !mayRedeem[m.category])
                kind = Purchase;
            events.push_back({day, shopSecond(rng), who, kind});
        }
    }
    std::sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return a.day != b.day ? a.day < b.day : a.second < b.second;
    });

    // Product lines go to purchases and returns only, 1 to 5 each, spread so
    // that the total comes out as asked (as near as 1..5 per row allows).
    qint64 lineRowsLeft = 0;
    for (const Event &e : events)
        lineRowsLeft += (e.kind == Purchase || e.kind == Return);
    qint64 linesLeft = std::min(linesTarget, 5 * lineRowsLeft);
    qint64 ledgerRows = 0, lineRows = 0;

    {
        Statement ledger(db, "INSERT INTO 流水记录 (编号,会员卡号,会员姓名,增减积分,增减原因,日期,时间,经手人,"
                             "\"退/换货说明\",兑换礼品,商品,返现金) VALUES (?,?,?,?,?,?,?,?,?,?,NULL,NULL)");
        Statement line(db, "INSERT INTO 消费记录 (编号,会员卡号,会员姓名,商品,单位,数量,消费金额,增减原因,日期,时间,"
                           "经手人,\"退/换货说明\") VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");

        struct Line {
            int product;
            double quantity, amount;
        };
        std::vector<Line> lines;
        std::string number, time, gifts;

        for (const Event &e : events) {
            Member &m = members[size_t(e.member)];
            const std::string &date = dates[size_t(e.day)];
            time = timeText(e.second);
            Kind kind = e.kind;
            double points = 0;
            const char *reason = nullptr;
            const char *returnNote = nullptr;
            gifts.clear();
            lines.clear();

            if (kind == Purchase || kind == Return) {
                int n;
                if (linesLeft >= lineRowsLeft) {
                    const qint64 lo = std::max<qint64>(1, linesLeft - 5 * (lineRowsLeft - 1));
                    const qint64 hi = std::min<qint64>(5, linesLeft - (lineRowsLeft - 1));
                    // 1 + Binomial(4, p) has the mean needed and leans to short receipts.
                    const double mean = double(linesLeft) / double(lineRowsLeft);
                    std::binomial_distribution<int> extra(4, std::clamp((mean - 1) / 4, 0.0, 1.0));
                    n = int(std::clamp<qint64>(1 + extra(rng), lo, hi));
                } else {
                    // Fewer lines than rows: choose which rows get one.
                    n = chance(rng, double(linesLeft) / double(lineRowsLeft)) ? 1 : 0;
                }
                --lineRowsLeft;
                linesLeft -= n;
                double total = 0;
                for (int i = 0; i < n; ++i) {
                    const int p = pick(rng, kProductCount);
                    const double r = std::uniform_real_distribution<double>(0, 1)(rng);
                    const double qty = (r < 0.7 || kProducts[p].unit == std::string_view("次")) ? 1 : r < 0.9 ? 2 : 3;
                    const double amount = round2(qty * kProducts[p].price * discount[m.category] / 100);
                    lines.push_back({p, qty, amount});
                    total += amount;
                }
                points = std::round(total * ratio[m.category]);
                // A return can only take back points the member still has.
                if (kind == Return && points > m.points)
                    kind = Purchase;
                if (kind == Return) {
                    points = -points;
                    reason = "退货";
                    returnNote = kReturnReasons[pick(rng, int(std::size(kReturnReasons)))];
                } else {
                    reason = "购物消费";
                }
            } else if (kind == Redeem) {
                // One or two gifts the balance covers; too little for any: a bonus instead.
                int cost = 0;
                for (int g = 0, n = 1 + pick(rng, 2); g < n; ++g) {
                    const int which = pick(rng, kGiftCount);
                    int count = 1 + pick(rng, 3);
                    while (count > 0 && cost + count * kGifts[which].points > m.points)
                        --count;
                    if (count == 0 || gifts.find(kGifts[which].name) != std::string::npos)
                        continue;
                    if (!gifts.empty())
                        gifts += ' ';
                    gifts += kGifts[which].name;
                    gifts += '(' + std::to_string(count) + ')';
                    cost += count * kGifts[which].points;
                }
                if (cost > 0) {
                    points = -cost;
                    reason = "积分兑换";
                } else {
                    kind = Bonus;
                }
            }
            if (kind == Referral) {
                points = referralPoints;
                reason = "引荐会员";
            } else if (kind == Bonus) {
                const Award &b = kAwards[pick(rng, int(std::size(kAwards)))];
                points = b.points;
                reason = b.reason;
            }

            if (kind == Referral) {
                ledger.null(1);
            } else {
                number = fmt("%010lld", nextNumber++);
                ledger.text(1, number);
            }
            ledger.text(2, m.card);
            ledger.text(3, m.name);
            ledger.real(4, points);
            ledger.text(5, reason);
            ledger.text(6, date);
            ledger.text(7, time);
            ledger.text(8, kClerk);
            if (returnNote)
                ledger.text(9, returnNote);
            else
                ledger.null(9);
            if (kind == Redeem)
                ledger.text(10, gifts);
            else
                ledger.null(10);
            ledger.run();
            ++ledgerRows;
            m.points += points;

            const double sign = kind == Return ? -1 : 1;
            for (const Line &l : lines) {
                const Product &p = kProducts[l.product];
                line.text(1, number);
                line.text(2, m.card);
                line.text(3, m.name);
                line.text(4, p.name);
                line.text(5, p.unit);
                line.real(6, sign * l.quantity);
                line.real(7, sign * l.amount);
                line.text(8, reason);
                line.text(9, date);
                line.text(10, time);
                line.text(11, kClerk);
                if (returnNote)
                    line.text(12, returnNote);
                else
                    line.null(12);
                line.run();
                ++lineRows;
            }
        }
    }

    // ---- the members themselves, with the balance their ledger adds up to ----
    {
        Statement st(db, "INSERT INTO 会员卡信息 (会员卡号,卡类别,会员姓名,性别,邮编,会员生日,生日,地址,固定电话,"
                         "手机,积分,起用日期,引荐人卡号,引荐人姓名,备注,口头挂失标志,身份证号) "
                         "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,NULL)");
        Statement lost(db, "INSERT INTO 口头挂失记录 (会员卡号,会员姓名,口头挂失日期,口头挂失时间,挂失经手人) "
                           "VALUES (?,?,?,?,?)");
        const QDate oldest(1950, 1, 1);
        const int birthSpan = int(oldest.daysTo(QDate(2008, 12, 31))) + 1;
        static const int mobilePrefixes[] = {130, 131, 132, 133, 135, 136, 137, 138, 139, 150, 151, 152,
                                             153, 155, 156, 157, 158, 159, 180, 181, 182, 186, 187, 188, 189};
        std::string birthday, birthdayShort, address, phone, mobile, lostTime;
        for (qint64 i = 0; i < memberCount; ++i) {
            const Member &m = members[size_t(i)];
            const QDate born = oldest.addDays(pick(rng, birthSpan));
            birthday = dateText(born);
            birthdayShort = std::to_string(born.month()) + '-' + std::to_string(born.day());
            const District &d = kDistricts[pick(rng, int(std::size(kDistricts)))];
            address.clear();
            if (chance(rng, 0.9)) {
                address = std::string("杭州市") + d.name + kStreets[pick(rng, int(std::size(kStreets)))]
                    + std::to_string(1 + pick(rng, 600)) + "号";
                if (chance(rng, 0.6))
                    address += std::to_string(1 + pick(rng, 30)) + "幢" + std::to_string(1 + pick(rng, 4)) + "单元"
                        + std::to_string(1 + pick(rng, 18)) + fmt("%02lld", 1 + pick(rng, 4)) + "室";
            }
            phone = chance(rng, 0.7) ? fmt("0571-8%07lld", pick(rng, 10000000)) : std::string();
            mobile = std::to_string(mobilePrefixes[pick(rng, int(std::size(mobilePrefixes)))])
                + fmt("%08lld", pick(rng, 100000000));
            const bool lostFlag = chance(rng, 0.005);

            st.text(1, m.card);
            st.text(2, kCategories[m.category].name);
            st.text(3, m.name);
            st.text(4, m.female ? "女" : "男");
            st.text(5, d.postcode);
            st.text(6, birthday);
            st.text(7, birthdayShort);
            st.text(8, address);
            st.text(9, phone);
            st.text(10, mobile);
            st.real(11, m.points);
            st.text(12, dates[size_t(m.startDay)]);
            if (m.referrer >= 0) {
                st.text(13, members[size_t(m.referrer)].card);
                st.text(14, members[size_t(m.referrer)].name);
            } else {
                st.text(13, "");
                st.text(14, "");
            }
            st.text(15, chance(rng, 0.05) ? kRemarks[pick(rng, int(std::size(kRemarks)))] : "");
            st.integer(16, lostFlag ? -1 : 0);
            st.run();

            if (lostFlag) {
                const int day = m.startDay + pick(rng, windowDays - m.startDay);
                lostTime = timeText(shopSecond(rng));
                lost.text(1, m.card);
                lost.text(2, m.name);
                lost.text(3, dates[size_t(day)]);
                lost.text(4, lostTime);
                lost.text(5, kClerk);
                lost.run();
            }
        }
    }

    exec(db, "COMMIT");
    // One self-contained file that can be copied as it is.
    exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
    exec(db, "PRAGMA journal_mode = DELETE");
    database.close();

    Summary s;
    s.members = memberCount;
    s.ledger = ledgerRows;
    s.consumption = lineRows;
    s.seconds = double(timer.nsecsElapsed()) / 1e9;
    s.fileBytes = QFileInfo(path).size();
    return s;
}

QString describe(const Summary &s, const QString &path)
{
    return QStringLiteral("%1: %2 members, %3 ledger rows, %4 consumption rows in %5 s, %6 MB")
        .arg(path)
        .arg(s.members)
        .arg(s.ledger)
        .arg(s.consumption)
        .arg(s.seconds, 0, 'f', 1)
        .arg(double(s.fileBytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

} // namespace demo
