#include "core/session.h"

namespace core {

QString &loggedInOperator()
{
    static QString value;
    return value;
}

QString &loginPassword()
{
    static QString value;
    return value;
}

} // namespace core
