#include "record_store/program_state.h"

namespace lintora {

const std::array<std::string, 13> Months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                            "Aug", "Sep", "Oct", "Nov", "Dec", ""};
const std::array<std::string, 13> MonthsUC = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL",
                                              "AUG", "SEP", "OCT", "NOV", "DEC", ""};

ProgramState g;

void ResetProgramState() { g = ProgramState(); }

void MarkWorkSaved() {
    g.DataChanged.assign(1, 'N');
    ++g.SavedGeneration;
}

}  // namespace lintora
