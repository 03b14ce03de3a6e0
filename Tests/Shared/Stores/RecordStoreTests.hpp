#pragma once

#include "Tests/Shared/Stores/RecordStoreFixture.hpp"

#include "Shared/Model/EntryIndex.hpp"

#include "Platform/Foundation/Logger.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace SharedTests {

// A fresh vault, unlocked, with its record store open.
class RecordStoreTests : public testing::Test {
protected:
    void SetUp() override
    {
        removeApplicationGroup();
        vault = std::make_unique<Vault>();
        vault->cryptor->unlock(Shared::Cryptor::Key::random());
        store = openRecordStore(*vault);
    }
    void TearDown() override { Foundation::Logger::setCaptureSink({}); }

    std::vector<Foundation::String> titles(const std::vector<Shared::EntryIndex>& indices)
    {
        std::vector<Foundation::String> result;
        for (const auto& index : indices)
            result.push_back(index.title);
        return result;
    }
    std::vector<Foundation::String> search(const char* text)
    {
        return titles(store->entryIndices(Shared::Entry::Filter::allItems(), Shared::Settings::Items::SortMethod::alphabetical, Foundation::String(text)));
    }

    std::unique_ptr<Vault> vault;
    std::shared_ptr<Shared::RecordStore> store;
};

} // namespace SharedTests
