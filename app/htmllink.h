#pragma once

#include <QString>

// The fields of an HTML link «<a target="_blank" class="c" title="t" href="u">text</a>», as the
// hyperlink dialog edits them, with the parse of a selected link and the markup it inserts.
struct HtmlLink
{
    enum class Target
    {
        NoneSet,
        SameWindow,
        NewWindow
    };

    QString text;
    QString url = QStringLiteral("http://");
    QString title;
    QString cssClass;
    Target target = Target::NoneSet;

    // A selection that, trimmed, starts with an «<a» tag and ends with «</a>» is an existing
    // link: its attributes fill the fields and the text between the opening tag and the last
    // «<» is the link text. Attribute names are matched without regard to case, values may be
    // double-quoted, single-quoted or bare, and a quoted value may hold white space and «>»
    // («title='My page'»). Anything else is plain text that becomes the link text as it is,
    // with the default fields.
    static HtmlLink parse(const QString &selection);

    // «<a», then target (absent for NoneSet), class and title (absent when empty) and href,
    // each as « name="value"», then «>», the text and «</a>». A double quote inside a value is
    // written as &quot; so the attribute cannot end early.
    QString toHtml() const;

    bool operator==(const HtmlLink &) const = default;
};
