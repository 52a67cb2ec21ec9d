#pragma once

// 0.5 * mean dab size * L * sqrt(L): the area one stroke of L steps is
// expected to cover (a negative L counts as 0).
double strokeCoverage(float meanSize, int length);
