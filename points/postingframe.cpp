#include "points/postingframe.h"

#include "core/database.h"
#include "core/session.h"
#include "core/tdm1.h"
#include "widgets/prompts.h"

namespace points {

bool runPosting(QWidget *parent, core::TDM1 &dm, const PointPosting &p, PostingResult *result)
{
    try {
        *result = postPoints(dm, p);
        return true;
    } catch (const PostingRefused &e) {
        ui::error(parent, QStringLiteral("提示"), e.text());
    } catch (const std::exception &e) {
        ui::prompts().message(parent, ui::Icon::None, core::kAppTitle, QString::fromUtf8(e.what()), ui::Ok);
    }
    return false;
}

} // namespace points
