#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "core/net/body_limits.h"
#include "core/net/slot.h"

namespace tw {
namespace {

TEST(Slot, TheLatestUnreadValueIsTakenOnce) {
    Slot<std::string> slot;
    EXPECT_FALSE(slot.take());
    slot.put("first");
    slot.put("second");  // overwrites the unread value
    EXPECT_EQ(slot.take(), "second");
    EXPECT_FALSE(slot.take());  // a second message for the same result finds nothing
}

TEST(Slot, NoValueIsTakenTwiceWhileWorkersPut) {
    Slot<int> slot;
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&slot, w] {
            for (int i = 0; i < 2000; ++i) slot.put(w * 2000 + i);
        });
    std::vector<int> taken;
    for (int i = 0; i < 4000; ++i)
        if (auto v = slot.take()) taken.push_back(*v);
    for (auto& t : workers) t.join();
    if (auto v = slot.take()) taken.push_back(*v);
    std::sort(taken.begin(), taken.end());
    EXPECT_EQ(std::adjacent_find(taken.begin(), taken.end()), taken.end());
    EXPECT_FALSE(taken.empty());
}

TEST(CappedBody, RefusesBytesBeyondItsLimit) {
    CappedBody body(10);
    EXPECT_TRUE(body.append("12345"));
    EXPECT_TRUE(body.fits(5));
    EXPECT_FALSE(body.fits(6));
    EXPECT_FALSE(body.append("123456"));
    EXPECT_EQ(body.bytes(), "12345");  // nothing of a refused piece is kept
    EXPECT_TRUE(body.append("67890"));
    EXPECT_FALSE(body.append("x"));
    EXPECT_EQ(body_too_large_error(10), "response larger than 10 bytes");
}

}  // namespace
}  // namespace tw
