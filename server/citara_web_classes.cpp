// The four controls of CitaraWeb.dll, in lookup and registration order.
#include "web/web_forms.h"

#include "server/control_object.h"  // Citara's headers before the Windows headers
#include "server/class_table.h"

#include "CitaraWeb_TLB.h"  // written by widl from CitaraWeb.idl
#include "server/dual_interface.h"

namespace citara::server {
namespace {

// The three GUID families of CitaraWeb's type library.
constexpr GUID Personal(unsigned long first) {
  return {first, 0xB254, 0x11D2, {0xAD, 0x1B, 0xE6, 0x09, 0xFF, 0xE4, 0x71, 0x5A}};
}
constexpr GUID Professional(unsigned long first) {
  return {first, 0xB3F1, 0x11D2, {0xAD, 0x1B, 0xC7, 0x00, 0x20, 0x2B, 0xA2, 0x56}};
}
constexpr GUID Article(unsigned long first) {
  return {first, 0xB4AD, 0x11D2, {0xAD, 0x1B, 0xB1, 0xE7, 0x1B, 0x7C, 0x16, 0x58}};
}

const ControlClass kClasses[] = {
    {L"PersonalSite", L"CitaraWeb.PersonalSite", L"PersonalSite Control", Personal(0x7CA5BFC5), Personal(0x7CA5BFC1),
     Personal(0x7CA5BFC3), &PersonalSiteForm, 597, 120, 1, &MakeDualInterface<IPersonalSite>},
    {L"ProfessionalSite", L"CitaraWeb.ProfessionalSite", L"ProfessionalSite Control", Professional(0xFCB24F04),
     Professional(0xFCB24F00), Professional(0xFCB24F02), &ProfessionalSiteForm, 597, 85, 2,
     &MakeDualInterface<IProfessionalSite>},
    {L"WebArticle", L"CitaraWeb.WebArticle", L"WebArticle Control", Article(0x65FD32C4), Article(0x65FD32C0),
     Article(0x65FD32C2), &WebArticleForm, 597, 140, 3, &MakeDualInterface<IWebArticle>},
    {L"Newsgroup", L"CitaraWeb.Newsgroup", L"Newsgroup Control", Article(0x65FD32CC), Article(0x65FD32C8),
     Article(0x65FD32CA), &NewsgroupForm, 597, 140, 4, &MakeDualInterface<INewsgroup>},
};

const ServerLibrary kLibrary{L"CitaraWeb", Personal(0x7CA5BFC0), 1, 0, kClasses};

}  // namespace

const ServerLibrary& ThisLibrary() { return kLibrary; }

}  // namespace citara::server
