#include "render/regional_settings.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

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

}  // namespace

const RegionalSettings& RegionalSettingsFor(std::string_view numericLocale,
                                            std::string_view timeLocale) {
  // One entry per thread in front of the shared cache: pages format every cell under the same
  // settings, so the lock is taken only when the locale changes.
  thread_local std::string lastNumeric = "\x01";
  thread_local std::string lastTime = "\x01";
  thread_local const RegionalSettings* last = nullptr;
  if (last && numericLocale == lastNumeric && timeLocale == lastTime) return *last;

  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<RegionalSettings>, std::less<>> cache;
  std::string numericName = CanonicalName(numericLocale);
  std::string timeName = CanonicalName(timeLocale);
  std::string key = numericName + '|' + timeName;
  const RegionalSettings* found = nullptr;
  {
    std::lock_guard lock(mutex);
    auto it = cache.find(key);
    if (it == cache.end())
      it = cache.emplace(key, LoadRegionalSettings(numericName, timeName)).first;
    found = it->second.get();
  }
  lastNumeric = numericLocale;
  lastTime = timeLocale;
  last = found;
  return *found;
}

const RegionalSettings& RegionalSettingsFor(std::string_view localeName) {
  return RegionalSettingsFor(localeName, localeName);
}

const RegionalSettings& CurrentRegionalSettings() {
  return RegionalSettingsFor(NumericLocaleName(), TimeLocaleName());
}

}  // namespace vn
