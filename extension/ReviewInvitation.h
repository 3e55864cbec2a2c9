#pragma once

#include "MenuItem.h"

namespace pallstone {

// Counts the uses of the menu's entries and, on the third use of every thirty until the user
// has reviewed, invites them to, three seconds later.
class ReviewInvitation final
{
public:
    static void countUse(const MenuItem& entry);
    static void show();
    static void goReview();

private:
    ReviewInvitation() = delete;
};

} // namespace pallstone
