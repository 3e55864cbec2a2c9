#include "ReviewInvitation.h"

#include "Dispatch.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Prompter.h"
#include "Strings.h"

#include <QUrl>

namespace pallstone {

void ReviewInvitation::countUse(const MenuItem& entry)
{
    qint64 useCount = 0;
    bool reviewed = false;
    MenuStore::sharedDefaults().update([&](Value& root) {
        if (!entry.key.isEmpty())
            root.insert(entry.key, root.value(entry.key).asInteger() + 1);
        useCount = root.value(StoreKey::useCount).asInteger() + 1;
        root.insert(StoreKey::useCount, useCount);
        reviewed = root.value(StoreKey::isReviewed).readBool(false);
    });
    if (useCount % 30 == 3 && !reviewed)
        Dispatch::enterForegroundWithDelay(3, [] { show(); });
}

void ReviewInvitation::show()
{
    AlertRequest request;
    request.message = Localizer::text(QStringLiteral("Review Tip"));
    request.buttons = {Localizer::text(QStringLiteral("Go Review")),
                       Localizer::text(QStringLiteral("Next Time"))};
    if (Prompter::instance()->alert(request) == kAlertFirstButton)
        goReview();
}

void ReviewInvitation::goReview()
{
    Strings::openURL(QUrl(QStringLiteral(PALLSTONE_HOMEPAGE)));
    MenuStore::sharedDefaults().setObject(true, StoreKey::isReviewed);
}

} // namespace pallstone
