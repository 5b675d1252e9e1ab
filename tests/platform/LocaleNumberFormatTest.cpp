// Number separators from locale data and the environment's choice of
// locale, without touching the process-wide C locale. Named locales are
// compiled once into a private directory (LOCPATH), as the test machine may
// have none installed.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

#include "platform/LocaleNumberFormat.h"

// The C library's newlocale keeps the LOCPATH search list it splits on every
// call; only these tests set LOCPATH, so the leak checker is told to ignore it.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

namespace tavimo::platform {
namespace {

namespace fs = std::filesystem;

// Compiles the named locales into a shared cache directory; empty when the
// locale compiler is missing or fails.
std::string CompiledLocaleDirectory() {
  static const std::string directory = [] {
    const fs::path root = fs::temp_directory_path() / ("tavimo-test-locales-" + std::to_string(getuid()));
    for (const char* name : {"de_DE", "fr_FR", "aa_DJ"}) {
      const fs::path target = root / (std::string(name) + ".UTF-8");
      if (fs::exists(target / "LC_NUMERIC")) continue;
      // Build beside the target and rename, so parallel test processes never see half a locale.
      const fs::path partial = root / (std::string(name) + ".partial." + std::to_string(getpid()));
      fs::create_directories(root);
      const std::string command = "localedef -i " + std::string(name) + " -f UTF-8 '" + partial.string() +
                                  "' >/dev/null 2>&1";
      const int status = std::system(command.c_str());
      std::error_code ignored;
      if (status != 0 && !fs::exists(partial / "LC_NUMERIC")) {
        fs::remove_all(partial, ignored);
        return std::string();
      }
      fs::rename(partial, target, ignored);
      fs::remove_all(partial, ignored);
      if (!fs::exists(target / "LC_NUMERIC")) return std::string();
    }
    return root.string();
  }();
  return directory;
}

// Sets or clears environment variables for one test and puts them back.
class ScopedEnvironment {
 public:
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) setenv(it->first.c_str(), it->second->c_str(), 1);
      else unsetenv(it->first.c_str());
    }
  }
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

void ExpectSettings(const NumberFormatSettings& actual, const std::string& decimal, const std::string& thousands) {
  EXPECT_EQ(actual.decimalSeparator, decimal);
  EXPECT_EQ(actual.thousandsSeparator, thousands);
}

TEST(LocaleNumberFormat, PortableAndUnknownLocalesGiveTheDefaults) {
  for (const char* name : {"C", "POSIX", "C.UTF-8", "C.utf8", "xx_NOWHERE.UTF-8", "de_DE.NOSUCHCODESET"}) {
    SCOPED_TRACE(name);
    ExpectSettings(QueryLocaleNumberFormat(name), ".", ",");
  }
  ExpectSettings(QueryLocaleNumberFormat(nullptr), ".", ",");
}

class NamedLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string directory = CompiledLocaleDirectory();
    if (directory.empty()) GTEST_SKIP() << "localedef could not build the test locales";
    environment_.Set("LOCPATH", directory.c_str());
  }
  ScopedEnvironment environment_;
};

TEST_F(NamedLocale, GivesTheFirstCharacterOfEachSeparator) {
  ExpectSettings(QueryLocaleNumberFormat("de_DE.UTF-8"), ",", ".");
  // A three-byte grouping character (narrow no-break space) is kept whole.
  ExpectSettings(QueryLocaleNumberFormat("fr_FR.UTF-8"), ",", "\xe2\x80\xaf");
}

TEST_F(NamedLocale, EmptyGroupingSymbolMeansNoGrouping) {
  ExpectSettings(QueryLocaleNumberFormat("aa_DJ.UTF-8"), ".", "");
}

TEST_F(NamedLocale, EnvironmentChoosesLikeTheCLibrary) {
  environment_.Set("LC_ALL", nullptr);
  environment_.Set("LC_NUMERIC", nullptr);
  environment_.Set("LANG", "de_DE.UTF-8");
  ExpectSettings(QueryLocaleNumberFormat(""), ",", ".");
  environment_.Set("LC_NUMERIC", "fr_FR.UTF-8");
  ExpectSettings(QueryLocaleNumberFormat(""), ",", "\xe2\x80\xaf");
  environment_.Set("LC_ALL", "");  // an empty value does not count
  ExpectSettings(QueryLocaleNumberFormat(""), ",", "\xe2\x80\xaf");
  environment_.Set("LC_ALL", "aa_DJ.UTF-8");
  ExpectSettings(QueryLocaleNumberFormat(""), ".", "");
  environment_.Set("LC_ALL", "C.UTF-8");
  ExpectSettings(QueryLocaleNumberFormat(""), ".", ",");
}

TEST_F(NamedLocale, LoadingFillsTheProcessSettingsAndLeavesTheCLocaleAlone) {
  const NumberFormatSettings saved = GlobalNumberFormatSettings();
  const std::string cLocaleBefore = std::setlocale(LC_NUMERIC, nullptr);
  environment_.Set("LC_ALL", "de_DE.UTF-8");
  LoadNumberFormatSettings();
  ExpectSettings(GlobalNumberFormatSettings(), ",", ".");
  EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), cLocaleBefore);
  EXPECT_STREQ(std::localeconv()->decimal_point, ".");
  SetGlobalNumberFormatSettings(saved);
}

TEST(LocaleNumberFormat, NoLocaleInTheEnvironmentGivesTheDefaults) {
  ScopedEnvironment environment;
  environment.Set("LC_ALL", nullptr);
  environment.Set("LC_NUMERIC", nullptr);
  environment.Set("LANG", nullptr);
  ExpectSettings(QueryLocaleNumberFormat(""), ".", ",");
}

}  // namespace
}  // namespace tavimo::platform
