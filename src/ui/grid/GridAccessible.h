// What assistive tools see of the grids: a table of cells that read their text without the
// padding blanks and, unlike Qt's own table cells, offer no "Toggle" action.
#pragma once

namespace kap {

// Installs the accessible factory for the grid views once per program.
void installGridAccessibility();

}  // namespace kap
