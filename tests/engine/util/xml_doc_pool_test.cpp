#include "engine/util/xml_doc_pool.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace {

TEST(XmlDocPool, CountIsClampedToOneThroughFifty) {
    EXPECT_EQ(engine::TXmlDocPool(0).Count(), 1);
    EXPECT_EQ(engine::TXmlDocPool(-5).Count(), 1);
    EXPECT_EQ(engine::TXmlDocPool(10).Count(), 10);
    EXPECT_EQ(engine::TXmlDocPool(80).Count(), 50);
}

TEST(XmlDocPool, GrowsOnDemandUpToFiftyThenGivesNone) {
    engine::TXmlDocPool pool(10);
    std::set<pugi::xml_document*> taken;
    for (int i = 0; i < 11; ++i) taken.insert(pool.GetDocument());
    EXPECT_EQ(pool.Count(), 11);
    EXPECT_EQ(taken.size(), 11u);
    EXPECT_EQ(taken.count(nullptr), 0u);
    for (int i = 11; i < 50; ++i) ASSERT_NE(pool.GetDocument(), nullptr);
    EXPECT_EQ(pool.GetDocument(), nullptr);  // the 51st simultaneous take
    EXPECT_EQ(pool.Count(), 50);
    EXPECT_FALSE(pool.AddDocument());
}

TEST(XmlDocPool, ReleasedDocumentComesBackEmptyAsTheSameObject) {
    engine::TXmlDocPool pool(1);
    pugi::xml_document* doc = pool.GetDocument();
    ASSERT_TRUE(doc->load_string("<CAPTURE><entry idx=\"1\"/></CAPTURE>"));
    pool.ReleaseDocument(doc);
    pugi::xml_document* again = pool.GetDocument();
    EXPECT_EQ(again, doc);
    EXPECT_FALSE(again->first_child());
    EXPECT_EQ(pool.Count(), 1);
}

TEST(XmlDocPool, DoubleOrForeignReleaseChangesNothing) {
    engine::TXmlDocPool pool(2);
    pugi::xml_document* a = pool.GetDocument();
    pugi::xml_document* b = pool.GetDocument();
    pool.ReleaseDocument(a);
    pool.ReleaseDocument(a);
    pugi::xml_document foreign;
    pool.ReleaseDocument(&foreign);
    pool.ReleaseDocument(nullptr);
    EXPECT_EQ(pool.InUseCount(), 1);
    EXPECT_EQ(pool.GetDocument(), a);
    pool.ReleaseDocument(b);
    EXPECT_EQ(pool.InUseCount(), 1);
}

TEST(XmlDocPool, NeverHandsOneDocumentToTwoThreads) {
    engine::TXmlDocPool pool(2);
    std::atomic<bool> clash{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                pugi::xml_document* doc = pool.GetDocument();
                if (!doc) continue;
                // A document shared by two takers would show the other's child here.
                if (doc->first_child()) clash = true;
                doc->append_child("x");
                pool.ReleaseDocument(doc);
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_FALSE(clash);
    EXPECT_EQ(pool.InUseCount(), 0);
    EXPECT_LE(pool.Count(), 8);
}

}  // namespace
