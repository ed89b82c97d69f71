#include "render/regional_settings.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
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

// A thread's last look-up. Plain data only: a thread_local with a destructor makes MinGW's
// runtime hold the library until the thread ends and let it go from inside the thread's end,
// where the last release of the library deadlocks (a browser thread that ends after the
// browser let the library go would hang). Names longer than the room are never remembered.
class LastLookUp {
 public:
  bool Matches(std::string_view numeric, std::string_view time, unsigned generation) const {
    return settings_ != nullptr && generation == generation_ && numeric == Name(numeric_) &&
           time == Name(time_);
  }
  void Remember(std::string_view numeric, std::string_view time, unsigned generation,
                const RegionalSettings* found) {
    settings_ = nullptr;
    if (!Keep(numeric_, numeric) || !Keep(time_, time)) return;
    generation_ = generation;
    settings_ = found;
  }
  const RegionalSettings& Settings() const { return *settings_; }

 private:
  static constexpr std::size_t kRoom = 40;
  struct Text {
    char characters[kRoom];
    std::size_t length;
  };
  static std::string_view Name(const Text& text) { return {text.characters, text.length}; }
  static bool Keep(Text& text, std::string_view name) {
    if (name.size() > kRoom) return false;
    name.copy(text.characters, name.size());
    text.length = name.size();
    return true;
  }

  Text numeric_;
  Text time_;
  unsigned generation_;
  const RegionalSettings* settings_;
};
static_assert(std::is_trivially_destructible_v<LastLookUp>);

std::string Key(const std::string& numericName, const std::string& timeName) {
  return numericName + '|' + timeName;
}

}  // namespace

const RegionalSettings& RegionalSettingsFor(std::string_view numericLocale,
                                            std::string_view timeLocale) {
  // One entry per thread in front of the shared cache: pages format every cell under the same
  // settings, so the lock is taken only when the locale or the user's settings change.
  thread_local LastLookUp last{};
  Cache& cache = TheCache();
  const unsigned generation = cache.generation.load(std::memory_order_acquire);
  if (last.Matches(numericLocale, timeLocale, generation)) return last.Settings();

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
  last.Remember(numericLocale, timeLocale, generation, found);
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
