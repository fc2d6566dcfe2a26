#pragma once

// The four views of the window, in the order of their pages and of the "Miscellaneous" toolbar.
// The numbers are the ones the window has always used for them (1 edit ... 4 HTML).
enum class View : int
{
    Edit = 1,
    Flat = 2,
    Spun = 3,
    Html = 4,
};

// Page of the view in the window's stacked widget.
constexpr int pageIndex(View view)
{
    return static_cast<int>(view) - 1;
}
