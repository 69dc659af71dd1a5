// The worked example of the drive-check chapter: the manual's example design
// under the duty below, checked by the program's own rating/ with the
// friction table of the rules database, so every number in the chapter is
// the number the window "传动校核" shows for the same input.
#pragma once

#include "example_design.h"
#include "rules_snapshot.h"

#include <QString>

namespace tpworm::manual {

// {{rating:KEY}}: a duty input (P1, n1, ta, tlim, alpha_s, eta_o), a design
// value (d1, d2, gamma, alpha) or a result (T1, n2, T2, P2, vs, mu, rho,
// eta_m, eta, eta_b, Ft2, Ft1, Fr, H, S, to, Sreq, verdict, locking), as the
// window shows it; ManualError for a key it does not know or a check that
// fails.
QString ratingExampleValue(const ExampleDesign& example, const RulesSnapshot& rules, const QString& key);

} // namespace tpworm::manual
