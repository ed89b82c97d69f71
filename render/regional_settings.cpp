#include "render/regional_settings.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/language.h"

namespace vn {
namespace {

std::string CanonicalName(std::string_view name) {
  std::string canonical(name);
  for (char& c : canonical) {
    if (c == '-') c = '_';
  }
  return canonical;
}

struct Cache {
  std::mutex mutex;
  std::map<std::string, std::unique_ptr<RegionalSettings>, std::less<>> settings;
  // Settings a refresh replaced: pages begun before it still point at them.
  std::vector<std::unique_ptr<RegionalSettings>> replaced;
  // Counts the refreshes that changed something; each thread's last look-up is good only for
  // the count it was made under.
  std::atomic<unsigned> generation{0};
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

std::string Key(const std::string& numericName, const std::string& timeName) {
  return numericName + '|' + timeName;
}

}  // namespace

const RegionalSettings& RegionalSettingsFor(std::string_view numericLocale,
                                            std::string_view timeLocale) {
  // One entry per thread in front of the shared cache: pages format every cell under the same
  // settings, so the lock is taken only when the locale or the user's settings change.
  thread_local std::string lastNumeric = "\x01";
  thread_local std::string lastTime = "\x01";
  thread_local unsigned lastGeneration = 0;
  thread_local const RegionalSettings* last = nullptr;
  Cache& cache = TheCache();
  const unsigned generation = cache.generation.load(std::memory_order_acquire);
  if (last && generation == lastGeneration && numericLocale == lastNumeric &&
      timeLocale == lastTime) {
    return *last;
  }

  std::string numericName = CanonicalName(numericLocale);
  std::string timeName = CanonicalName(timeLocale);
  const RegionalSettings* found = nullptr;
  {
    std::lock_guard lock(cache.mutex);
    auto it = cache.settings.find(Key(numericName, timeName));
    if (it == cache.settings.end()) {
      it = cache.settings
               .emplace(Key(numericName, timeName), LoadRegionalSettings(numericName, timeName))
               .first;
    }
    found = it->second.get();
  }
  lastNumeric = numericLocale;
  lastTime = timeLocale;
  lastGeneration = generation;
  last = found;
  return *found;
}

void RefreshUserRegionalSettings() {
  if (!UserRegionalSettingsCanChange()) return;
  const std::string numericName = CanonicalName(NumericLocaleName());
  const std::string timeName = CanonicalName(TimeLocaleName());
  // Read outside the lock: requests on other threads go on formatting meanwhile.
  std::unique_ptr<RegionalSettings> fresh = LoadRegionalSettings(numericName, timeName);
  Cache& cache = TheCache();
  std::lock_guard lock(cache.mutex);
  auto& slot = cache.settings[Key(numericName, timeName)];
  if (slot && *slot == *fresh) return;
  if (slot) cache.replaced.push_back(std::move(slot));
  slot = std::move(fresh);
  cache.generation.fetch_add(1, std::memory_order_release);
}

const RegionalSettings& RegionalSettingsFor(std::string_view localeName) {
  return RegionalSettingsFor(localeName, localeName);
}

const RegionalSettings& CurrentRegionalSettings() {
  return RegionalSettingsFor(NumericLocaleName(), TimeLocaleName());
}

}  // namespace vn
