#pragma once
// Numbers and names of pictavo.scr's resources, shared by the resource
// script and the code that loads them. Plain definitions: the resource
// compiler reads this file too.

// The display settings list a screen saver by string 1.
#define PICTAVO_STRING_DESCRIPTION 1
#define PICTAVO_ICON 1
#define PICTAVO_MANIFEST 1
