#include "widgets/platform.h"

#include <atomic>
#include <ctime>

#include "widgets/unicode.h"

namespace citara {
namespace {

// The port of a thread that installed none and finds no default: its own, made on first use.
HeadlessPlatform& ThreadsHeadlessPlatform() {
  thread_local HeadlessPlatform port;
  return port;
}

std::atomic<Platform*> defaultPort{nullptr};
thread_local Platform* current = nullptr;  // the port the thread installed

}  // namespace

TSize TextMetric::Measure(const TFont& font, std::string_view text) const {
  const int height = font.height < 0 ? -font.height : font.height;
  const auto scaled = [&](int pixels) { return (pixels * height + fontHeight - 1) / fontHeight; };
  int codePoints = 0;
  for (std::size_t pos = 0; pos < text.size(); ++codePoints) DecodeUtf8(text, pos);
  return {scaled(advance * codePoints), scaled(lineHeight)};
}

TSize Platform::MeasureText(const TFont& font, std::string_view text) { return TextMetric{}.Measure(font, text); }

char32_t Platform::UpperCase(char32_t ch) { return ToUpper(ch); }

std::string_view Platform::MonthName(unsigned month) { return EnglishMonthName(month); }

Platform& CurrentPlatform() {
  if (current != nullptr) return *current;
  if (Platform* port = defaultPort.load(std::memory_order_acquire)) return *port;
  return ThreadsHeadlessPlatform();
}

void SetDefaultPlatform(Platform* port) { defaultPort.store(port, std::memory_order_release); }

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
  // Controls on several threads may ask at once: the thread-safe form of std::localtime.
  const std::time_t now = std::time(nullptr);
  std::tm buffer{};
#ifdef _WIN32
  const std::tm* local = localtime_s(&buffer, &now) == 0 ? &buffer : nullptr;
#else
  const std::tm* local = localtime_r(&now, &buffer);
#endif
  if (local == nullptr) return 0;
  const OleDate day = OleFromCivil({local->tm_year + 1900, static_cast<unsigned>(local->tm_mon + 1),
                                    static_cast<unsigned>(local->tm_mday)});
  const double seconds = local->tm_hour * 3600.0 + local->tm_min * 60.0 + local->tm_sec;
  return day + seconds / 86400.0;
}

}  // namespace citara
