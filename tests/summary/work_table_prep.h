// The account-code preparation and clean-up of the work table, as direct statements through
// the engine on the alias "Account": what the summary statements need in Test_Ac_Code.
#pragma once

namespace fixture {

// Neutral -> prepared: 129 heading rows, the class-wide and listed balance classes, the link
// codes of the link table; 429 statements, one at a time.
void prepareWorkTable();

// Any state -> neutral: deletes the rows without Serial_No and resets the balance classes
// and link codes; 2 statements.
void cleanUpWorkTable();

}  // namespace fixture
