#include "widgets/platform.h"

#include <ctime>

#include "widgets/unicode.h"

namespace citara {
namespace {

HeadlessPlatform& DefaultPlatform() {
  static HeadlessPlatform port;
  return port;
}

Platform* current = nullptr;

}  // namespace

char32_t Platform::UpperCase(char32_t ch) { return ToUpper(ch); }

std::string_view Platform::MonthName(unsigned month) { return EnglishMonthName(month); }

Platform& CurrentPlatform() { return current ? *current : DefaultPlatform(); }

void SetCurrentPlatform(Platform* port) { current = port; }

ScopedPlatform::ScopedPlatform(Platform& port) : previous_(current) { current = &port; }

ScopedPlatform::~ScopedPlatform() { current = previous_; }

DialogResult HeadlessPlatform::ShowMessage(const MessageDialog& dialog) {
  dialogs_.push_back(dialog);
  if (answers_.empty()) return DialogResult::Ok;
  const DialogResult answer = answers_.front();
  answers_.pop_front();
  return answer;
}

OleDate HeadlessPlatform::Now() { return hasFixedNow_ ? fixedNow_ : LocalNow(); }

OleDate LocalNow() {
  // The system starts no threads, so the shared buffer of std::localtime is safe here.
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) return 0;
  const OleDate day = OleFromCivil({local->tm_year + 1900, static_cast<unsigned>(local->tm_mon + 1),
                                    static_cast<unsigned>(local->tm_mday)});
  const double seconds = local->tm_hour * 3600.0 + local->tm_min * 60.0 + local->tm_sec;
  return day + seconds / 86400.0;
}

}  // namespace citara
