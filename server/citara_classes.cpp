// The six controls of Citara.dll, in lookup and registration order.
#include "print/print_forms.h"
#include "server/control_object.h"  // Citara's headers before the Windows headers
#include "server/class_table.h"

#include "Citara_TLB.h"  // written by widl from Citara.idl
#include "server/dual_interface.h"

namespace citara::server {
namespace {

constexpr GUID Guid(unsigned long first) {
  return {first, 0x8A3A, 0x11D2, {0xAD, 0x1B, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
}

const ControlClass kClasses[] = {
    {L"Book", L"Citara.Book", L"Book Control", Guid(0x1AE95045), Guid(0x1AE95041), Guid(0x1AE95043), &BookForm,
     607, 225, 1, &MakeDualInterface<IBook>},
    {L"Encyclopedia", L"Citara.Encyclopedia", L"Encyclopedia Control", Guid(0x1AE95052), Guid(0x1AE9504E),
     Guid(0x1AE95050), &EncyclopediaForm, 607, 164, 2,
     &MakeDualInterface<IEncyclopedia>},
    {L"Journal", L"Citara.Journal", L"Journal Control", Guid(0x1AE95076), Guid(0x1AE95072), Guid(0x1AE95074),
     &JournalForm, 607, 142, 5, &MakeDualInterface<IJournal>},
    {L"Magazine", L"Citara.Magazine", L"Magazine Control", Guid(0x1AE9505C), Guid(0x1AE95058), Guid(0x1AE9505A),
     &MagazineForm, 607, 144, 3, &MakeDualInterface<IMagazine>},
    {L"Newspaper", L"Citara.Newspaper", L"Newspaper Control", Guid(0x1AE95068), Guid(0x1AE95064), Guid(0x1AE95066),
     &NewspaperForm, 607, 142, 4, &MakeDualInterface<INewspaper>},
    {L"Other", L"Citara.Other", L"Other Control", Guid(0x1AE95086), Guid(0x1AE95082), Guid(0x1AE95084), &OtherForm,
     607, 251, 6, &MakeDualInterface<IOther>},
};

const ServerLibrary kLibrary{L"Citara", Guid(0x1AE95040), 1, 0, kClasses};

}  // namespace

const ServerLibrary& ThisLibrary() { return kLibrary; }

}  // namespace citara::server
