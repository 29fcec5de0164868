// The sample allocator: a fixed set of buffers (from the heap or a memory source), waiting for a free one,
// and Decommit waking a waiter.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <vector>

#include "platform/dshow/mem_allocator.h"

using namespace std::chrono_literals;

TEST(MemAllocator, HandsOutItsBuffersAndWaitsUntilOneComesBack) {
    auto allocator = dshow::TMemAllocator::Create();
    ALLOCATOR_PROPERTIES request{2, 100, 0, 0}, actual{};
    ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
    EXPECT_EQ(actual.cbAlign, 1);
    ComPtr<IMediaSample> first, second;
    EXPECT_EQ(allocator->GetBuffer(first.Put(), nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
    ASSERT_EQ(allocator->Commit(), S_OK);
    EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_ALREADY_COMMITTED);
    ASSERT_EQ(allocator->GetBuffer(first.Put(), nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(allocator->GetBuffer(second.Put(), nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(first->GetSize(), 100);
    EXPECT_EQ(first->SetActualDataLength(101), VFW_E_BUFFER_OVERFLOW);
    REFERENCE_TIME s = 5, e = 0;
    first->SetTime(&s, nullptr);
    EXPECT_EQ(first->GetTime(&s, &e), VFW_S_NO_STOP_TIME);
    EXPECT_EQ(e, 6);

    auto third = std::async(std::launch::async, [&] {
        IMediaSample* s3 = nullptr;
        const HRESULT hr = allocator->GetBuffer(&s3, nullptr, nullptr, 0);
        REFERENCE_TIME a = 0, b = 0;
        const HRESULT times = s3 ? s3->GetTime(&a, &b) : E_FAIL;
        if (s3) s3->Release();
        return std::make_pair(hr, times);
    });
    EXPECT_EQ(third.wait_for(100ms), std::future_status::timeout);
    first.Reset();  // back home, and fresh for its next user
    const auto [hr, times] = third.get();
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(times, VFW_E_SAMPLE_TIME_NOT_SET);
}

TEST(MemAllocator, DecommitWakesAWaiterAndSamplesKeepTheAllocatorAlive) {
    auto allocator = dshow::TMemAllocator::Create();
    ALLOCATOR_PROPERTIES request{1, 10, 1, 0}, actual{};
    allocator->SetProperties(&request, &actual);
    allocator->Commit();
    ComPtr<IMediaSample> held;
    ASSERT_EQ(allocator->GetBuffer(held.Put(), nullptr, nullptr, 0), S_OK);
    auto waiter = std::async(std::launch::async, [&] {
        IMediaSample* s = nullptr;
        return allocator->GetBuffer(&s, nullptr, nullptr, 0);
    });
    EXPECT_EQ(waiter.wait_for(50ms), std::future_status::timeout);
    allocator->Decommit();
    EXPECT_EQ(waiter.get(), VFW_E_NOT_COMMITTED);
    allocator.Reset();
    BYTE* p = nullptr;
    EXPECT_EQ(held->GetPointer(&p), S_OK);
    p[9] = 1;  // still valid: the sample holds its allocator
    held.Reset();
}

TEST(MemAllocator, BuffersComeFromItsMemorySourceAndGoBackToIt) {
    // A source that gives out a fixed number of buffers and then refuses, counting what comes back.
    struct TCountingSource {
        int given = 0, freed = 0, limit = 0;
        std::vector<std::unique_ptr<BYTE[]>> blocks;
    };
    auto counts = std::make_shared<TCountingSource>();
    auto source = [counts](size_t bytes) {
        if (counts->given == counts->limit) return dshow::TSampleMemory{};
        counts->blocks.emplace_back(new BYTE[bytes]());
        ++counts->given;
        return dshow::TSampleMemory{counts->blocks.back().get(), bytes, [counts] { ++counts->freed; }};
    };
    ALLOCATOR_PROPERTIES request{3, 64, 1, 0}, actual{};

    counts->limit = 2;  // one buffer short: the commit fails and gives back what it took
    {
        auto allocator = dshow::TMemAllocator::Create(source);
        ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
        EXPECT_EQ(allocator->Commit(), E_OUTOFMEMORY);
    }
    EXPECT_EQ(counts->freed, 2);

    *counts = TCountingSource{};
    counts->limit = 3;
    {
        auto allocator = dshow::TMemAllocator::Create(source);
        ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
        ASSERT_EQ(allocator->Commit(), S_OK);
        ComPtr<IMediaSample> sample;
        ASSERT_EQ(allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0), S_OK);
        BYTE* p = nullptr;
        ASSERT_EQ(sample->GetPointer(&p), S_OK);
        bool fromSource = false;
        for (const auto& block : counts->blocks) fromSource |= block.get() == p;
        EXPECT_TRUE(fromSource);
        EXPECT_EQ(sample->GetSize(), 64);
        EXPECT_EQ(counts->freed, 0);  // the buffers live as long as the allocator
    }
    EXPECT_EQ(counts->given, 3);
    EXPECT_EQ(counts->freed, 3);
}
