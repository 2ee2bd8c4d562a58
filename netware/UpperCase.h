#pragma once

// Upper-cases a text in the caller's buffer (several exports change their arguments so).
void UpperCaseInPlace(char* text);
