#include "record_store/program_state.h"

namespace lintora {

const std::array<std::string, 13> Months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                            "Aug", "Sep", "Oct", "Nov", "Dec", ""};
const std::array<std::string, 13> MonthsUC = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL",
                                              "AUG", "SEP", "OCT", "NOV", "DEC", ""};

ProgramState::ProgramState()
    : Indiv(kMaxIndiv + 1),
      Famil(kMaxFamil + 1),
      Notes(kMaxNotes + 1),
      Source(1),
      GedSource(1),
      Repository(1),
      GedRepository(1) {
    for (auto& bucket : NameIdx) bucket.assign(1, 0);
}

ProgramState g;

void ResetProgramState() { g = ProgramState(); }

}  // namespace lintora
