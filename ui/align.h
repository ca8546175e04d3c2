// How a label's text sits in its box. Portable, so a layout kept as data can name it too.
#pragma once

enum class Align { Left, Centre, Right };
