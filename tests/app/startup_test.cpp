#include "app/startup.h"

#include <gtest/gtest.h>

TEST(RecentFiles, NewestFirstAtMostEight)
{
    CRecentFileList list;
    for (int i = 1; i <= 10; ++i)
        list.Add("p" + std::to_string(i) + ".ETT");
    ASSERT_EQ(list.Entries().size(), 8u);
    EXPECT_EQ(list.Entries().front(), "p10.ETT");
    EXPECT_EQ(list.Entries().back(), "p3.ETT");
    list.Add("p5.ETT");
    EXPECT_EQ(list.Entries().front(), "p5.ETT");
    EXPECT_EQ(list.Entries().size(), 8u);
    list.Remove("p5.ETT");
    EXPECT_EQ(list.Entries().front(), "p10.ETT");
    list.SetEntries({"a", "", "a", "b"});
    EXPECT_EQ(list.Entries(), (std::vector<std::string> {"a", "b"}));
}

TEST(Startup, WhatOpensFirst)
{
    CRecentFileList recent;
    recent.Add("last.ETT");
    CRecentFileList none;
    // (files on the command line, load last, recent list, opened, splash)
    const struct {
        std::vector<std::string> files;
        bool loadLast;
        const CRecentFileList* recent;
        std::optional<std::string> opened;
        bool splash;
    } cases[] = {
        {{"named.ETT"}, true, &recent, "named.ETT", false},
        {{}, true, &recent, "last.ETT", true},
        {{}, false, &recent, std::nullopt, true},
        {{}, true, &none, std::nullopt, true},
    };
    for (const auto& c : cases) {
        const CStartupPlan plan = PlanStartup(c.files, c.loadLast, *c.recent);
        EXPECT_EQ(plan.openPath, c.opened);
        EXPECT_EQ(plan.showSplash, c.splash);
        EXPECT_EQ(plan.fromCommandLine, !c.files.empty());
    }
}
