// A vault of 10,000 items in an SQLite store: how long saving, opening, fetching, searching and counting
// take. The list aims at under 50 ms to open and show, a search keystroke at under 5 ms.
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/CoreData/NSPersistentContainer.hpp"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

using namespace CoreData;
using Foundation::Data;
using Foundation::Date;
using Foundation::String;
using Foundation::UUID;

namespace {

constexpr int itemCount = 10000;

std::shared_ptr<NSManagedObjectModel> makeModel()
{
    auto item = Foundation::make<NSEntityDescription>("Item");
    item->addAttribute({"uuid", NSAttributeType::uuid, false, {}, true});
    item->addAttribute({"title", NSAttributeType::string, false, String("")});
    item->addAttribute({"category", NSAttributeType::integer64, false, 0});
    item->addAttribute({"isFavorite", NSAttributeType::boolean, false, false});
    item->addAttribute({"locallyModified", NSAttributeType::boolean, false, false, true});
    item->addAttribute({"modified", NSAttributeType::date});
    item->addAttribute({"payload", NSAttributeType::binaryData});
    auto model = Foundation::make<NSManagedObjectModel>();
    model->setEntities({item});
    return model;
}

std::string storePath(const std::string& name)
{
    auto folder = std::filesystem::temp_directory_path() / ("CoreDataBenchmark-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

std::shared_ptr<NSPersistentContainer> open(const std::string& path)
{
    auto container = Foundation::make<NSPersistentContainer>("Items", makeModel());
    container->setPersistentStoreDescriptions({NSPersistentStoreDescription(Foundation::URL::fileURLWithPath(path, false))});
    container->loadPersistentStores([](const auto&, Foundation::ErrorPtr error) {
        if (error)
            error->raise();
    });
    return container;
}

void fill(NSManagedObjectContext& context)
{
    Data payload(std::vector<std::uint8_t>(1024, 0x5A));
    for (int i = 0; i < itemCount; ++i) {
        auto item = context.insertNewObject("Item");
        item->setValue(UUID(), "uuid");
        item->setValue(String("Item " + std::to_string((i * 7919) % itemCount)), "title");
        item->setValue(i % 11, "category");
        item->setValue(i % 10 == 0, "isFavorite");
        item->setValue(Date(788918400.0 + i), "modified");
        item->setValue(payload, "payload");
    }
    context.save();
}

// One store of 10,000 items, made once for the reading benchmarks.
const std::string& filledStore()
{
    static const std::string path = [] {
        auto path = storePath("Filled.sqlite");
        fill(*open(path)->viewContext());
        return path;
    }();
    return path;
}

void insertAndSave(benchmark::State& state)
{
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto container = open(storePath("Insert" + std::to_string(round++) + ".sqlite"));
        state.ResumeTiming();
        fill(*container->viewContext());
    }
}
BENCHMARK(insertAndSave)->Unit(benchmark::kMillisecond);

void openAndListEverything(benchmark::State& state)
{
    const auto& path = filledStore();
    for (auto _ : state) {
        auto container = open(path);
        NSFetchRequest<> request("Item");
        request.setSortDescriptors({NSSortDescriptor("modified", false)});
        benchmark::DoNotOptimize(container->viewContext()->fetch(request));
    }
}
BENCHMARK(openAndListEverything)->Unit(benchmark::kMillisecond);

void fetchWithPredicateAndSort(benchmark::State& state)
{
    auto container = open(filledStore());
    NSFetchRequest<> request("Item");
    request.setPredicate(key("isFavorite") == false && key("category").in({1, 2, 3, 4, 5, 6, 7, 8}));
    request.setSortDescriptors({NSSortDescriptor("title", true, NSSortDescriptor::Selector::caseInsensitiveCompare)});
    for (auto _ : state) {
        // A fresh context each time, so every object is made anew.
        auto context = container->newBackgroundContext();
        benchmark::DoNotOptimize(context->performAndWait([&] { return context->fetch(request).size(); }));
    }
}
BENCHMARK(fetchWithPredicateAndSort)->Unit(benchmark::kMillisecond);

void searchTitles(benchmark::State& state)
{
    auto container = open(filledStore());
    auto& context = *container->viewContext();
    NSFetchRequest<> request("Item");
    request.setPredicate(key("title").contains("M 12", NSComparisonPredicate::Options::caseInsensitive() | NSComparisonPredicate::Options::diacriticInsensitive()));
    for (auto _ : state)
        benchmark::DoNotOptimize(context.fetch(request));
}
BENCHMARK(searchTitles)->Unit(benchmark::kMillisecond);

void count(benchmark::State& state)
{
    auto container = open(filledStore());
    auto& context = *container->viewContext();
    NSFetchRequest<> request("Item");
    request.setPredicate(key("locallyModified") == true || key("category") > 5);
    for (auto _ : state)
        benchmark::DoNotOptimize(context.count(request));
}
BENCHMARK(count)->Unit(benchmark::kMillisecond);

} // namespace
