// The commands of the TRADE QUERY panel, which run the live progression kept
// in the trade log: REFERENCE tells the next lot size and the profit so far,
// WIN and LOSE register a trade, DROP OUT abandons the set.
#pragma once

void ReferenceCommand();
void WinCommand();
void LoseCommand();
void DropOutCommand();
