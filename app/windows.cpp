#include "app/windows.h"

#include "points/tzengjiajifen.h"
#include "shell/tmain.h"

void registerWindows(TMAIN &main)
{
    main.registerWindow(QStringLiteral("N35"), QStringLiteral("购物或换货增加积分"),
                        [](TMAIN *) { return new points::Tzengjiajifen; });
}
