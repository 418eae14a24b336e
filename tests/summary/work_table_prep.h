// The account-code preparation and clean-up of the work table, run by the programs' own
// preparation form on the alias "Account" (a QApplication must exist).
#pragma once

namespace fixture {

// Neutral -> prepared: pRun_CodeUpdate (429 statements).
void prepareWorkTable();

// Any state -> neutral: pDelete_Update (2 statements).
void cleanUpWorkTable();

// Frees the preparation form; call before the application object ends.
void releasePreparationForm();

}  // namespace fixture
