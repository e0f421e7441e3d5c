#include "app/windows.h"

#include "members/txinhuiyuan.h"
#include "points/pointwindows.h"
#include "points/salewindow.h"
#include "shell/tmain.h"

void registerWindows(TMAIN &main)
{
    main.registerWindow(QStringLiteral("N29"), QStringLiteral("新增/修改会员信息"),
                        [](TMAIN *) { return new members::Txinhuiyuan; });
    main.registerWindow(QStringLiteral("N35"), QStringLiteral("购物或换货增加积分"),
                        [](TMAIN *) { return new points::Tzengjiajifen; });
    main.registerWindow(QStringLiteral("N36"), QStringLiteral("退/换货减积分"),
                        [](TMAIN *) { return new points::Ttuihuo; });
    // One window class under two captions: one of each can be open.
    for (const auto &[entry, title] : {std::pair{"N37", "积分兑换"}, std::pair{"N16", "消费积分"}})
        main.registerWindow(QString::fromLatin1(entry), QString::fromUtf8(title),
                            [](TMAIN *) { return new points::Txiaofeijifen; });
    main.registerWindow(QStringLiteral("N13"), QStringLiteral("其他途径获得积分"),
                        [](TMAIN *) { return new points::Thuodejifen; });
}
