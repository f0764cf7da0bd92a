#pragma once

// The framework's shared vocabulary: Office hosts, start modes, colour schemes, shutdown modes.

#include <array>
#include <bitset>
#include <initializer_list>
#include <string_view>

namespace qor::framework {

enum TadxOfficeHostApp : int {
  ohaExcel,
  ohaWord,
  ohaOutlook,
  ohaPowerPoint,
  ohaAccess,
  ohaProject,
  ohaFrontPage,
  ohaMapPoint,
  ohaVisio,
  ohaPublisher,
  ohaInfoPath,
};
inline constexpr int kHostAppCount = 11;

class TadxHostAppSet {
 public:
  TadxHostAppSet() = default;
  TadxHostAppSet(std::initializer_list<TadxOfficeHostApp> hosts) {
    for (const TadxOfficeHostApp host : hosts) bits_.set(host);
  }
  bool Contains(TadxOfficeHostApp host) const noexcept { return bits_.test(host); }
  bool Empty() const noexcept { return bits_.none(); }
  bool operator==(const TadxHostAppSet&) const = default;

 private:
  std::bitset<kHostAppCount> bits_;
};

// Names used in registry keys, and the hosts' automation ProgIDs, indexed by TadxOfficeHostApp.
inline constexpr std::array<std::wstring_view, kHostAppCount> adxOfficeAppNames = {
    L"Excel", L"Word", L"Outlook", L"PowerPoint", L"Access", L"MS Project",
    L"FrontPage", L"MapPoint", L"Visio", L"Publisher", L"InfoPath"};
inline constexpr std::array<std::wstring_view, kHostAppCount> adxOfficeProgIDs = {
    L"Excel.Application",     L"Word.Application",      L"Outlook.Application", L"PowerPoint.Application",
    L"Access.Application",    L"MSProject.Application", L"FrontPage.Application", L"MapPoint.Application",
    L"Visio.Application",     L"Publisher.Application", L"InfoPath.Application"};

enum TadxStartMode : int { smFirstStart, smNormal, smUninstall };
inline constexpr std::array<std::wstring_view, 3> adxStartModeNames = {L"FIRSTSTART", L"NORMAL", L"UNINSTALL"};

enum TadxOfficeColorScheme : int { csUnknown, csBlue, csSilver, csBlack };

enum TadxOutlookShutdownBehavior : int { osSlow, osFast };

}  // namespace qor::framework
