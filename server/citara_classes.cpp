// The six controls of Citara.dll, in lookup and registration order.
#include "print/print_forms.h"

#include "server/class_table.h"

namespace citara::server {
namespace {

using enum TailMember;

constexpr GUID Guid(unsigned long first) {
  return {first, 0x8A3A, 0x11D2, {0xAD, 0x1B, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
}

constexpr std::array<TailMember, 7> kMostTail{Width, Height, Reset, GetMLACitaraInfo, SavedData, ValidateData,
                                              GetAPACitaraInfo};

const ControlClass kClasses[] = {
    {L"Book", L"Citara.Book", L"Book Control", Guid(0x1AE95045), Guid(0x1AE95041), Guid(0x1AE95043), &BookForm,
     607, 225, 1, {Width, Height, GetMLACitaraInfo, Reset, SavedData, ValidateData, GetAPACitaraInfo}},
    {L"Encyclopedia", L"Citara.Encyclopedia", L"Encyclopedia Control", Guid(0x1AE95052), Guid(0x1AE9504E),
     Guid(0x1AE95050), &EncyclopediaForm, 607, 164, 2,
     {Width, Height, Reset, GetMLACitaraInfo, SavedData, ValidateData, GetAPACitaraInfo}},
    {L"Journal", L"Citara.Journal", L"Journal Control", Guid(0x1AE95076), Guid(0x1AE95072), Guid(0x1AE95074),
     &JournalForm, 607, 142, 5, kMostTail},
    {L"Magazine", L"Citara.Magazine", L"Magazine Control", Guid(0x1AE9505C), Guid(0x1AE95058), Guid(0x1AE9505A),
     &MagazineForm, 607, 144, 3, kMostTail},
    {L"Newspaper", L"Citara.Newspaper", L"Newspaper Control", Guid(0x1AE95068), Guid(0x1AE95064), Guid(0x1AE95066),
     &NewspaperForm, 607, 142, 4, kMostTail},
    {L"Other", L"Citara.Other", L"Other Control", Guid(0x1AE95086), Guid(0x1AE95082), Guid(0x1AE95084), &OtherForm,
     607, 251, 6, kMostTail},
};

const ServerLibrary kLibrary{L"Citara", Guid(0x1AE95040), 1, 0, kClasses};

}  // namespace

const ServerLibrary& ThisLibrary() { return kLibrary; }

}  // namespace citara::server
