// Writes C:\Lensora_Brenhold.logDiagnosis: the timestamp line, then one line per rule.
#pragma once

#include <vector>

#include "diagnosis/verdict.h"

// False after telling the user (or the collect run's messages log) why not; a log that could
// not be written whole is removed, so no cut diagnosis travels in a bundle.
bool WriteDiagnosisLog(const std::vector<Verdict>& verdicts);
