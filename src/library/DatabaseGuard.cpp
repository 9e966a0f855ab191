#include "library/DatabaseGuard.h"

#include "foundation/Messages.h"
#include "session/Session.h"

bool vldLoaded(Session &s)
{
    if (s.vld.GetValue(QStringLiteral("Artists")) != KeyValueStore::kNotFound)
        return true;
    s.ErorMsg(Msg::kNoDatabase, 1);
    return false;
}
