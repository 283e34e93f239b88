#pragma once

// The plain (one-language) highlighters. Their category enums follow the order
// of the names shown in the preferences and stored in the settings.

#include "editor/highlighter.h"

#include <QStringList>

// Type "Aucun": nothing is coloured; every byte from '!' up is a word byte.
class GeneralHighlighter : public Highlighter {
    Q_OBJECT
public:
    enum Category {
        Comment,
        Identifier,
        ReservedWord,
        Number,
        Space,
        String,
        Symbol,
        Preprocessor,
        CategoryCount
    };
    explicit GeneralHighlighter(QObject *parent = nullptr);
    int stateBits() const override { return 0; }

protected:
    LineState scanSpan(const char *line, int lineLength, int begin, int end, LineState state,
                       TokenSink &out) const override;
};

class HtmlHighlighter : public Highlighter {
    Q_OBJECT
public:
    enum Category {
        Comment,
        Identifier,   // known element name
        ReservedWord, // attribute name, declaration keyword
        Space,
        Symbol,
        Text,
        UnknownWord, // element name that HTML does not define
        Value,
        SpecialChar, // character reference (&amp; &#233;)
        CategoryCount
    };
    explicit HtmlHighlighter(QObject *parent = nullptr);
    int stateBits() const override { return 4; }

    // The HTML element names it knows, in lower case.
    static QStringList elementNames();
    static bool isElementName(const char *name, int length);

protected:
    LineState scanSpan(const char *line, int lineLength, int begin, int end, LineState state,
                       TokenSink &out) const override;
};

class XmlHighlighter : public Highlighter {
    Q_OBJECT
public:
    enum Category {
        ElementName,
        Text,
        Space,
        EntityReference,
        ProcessingInstruction,
        CData,
        Comment,
        DocType,
        AttributeName,
        NamespaceAttributeName,
        AttributeValue,
        NamespaceAttributeValue,
        Symbol,
        CategoryCount
    };
    explicit XmlHighlighter(QObject *parent = nullptr);
    int stateBits() const override { return 4; }

protected:
    LineState scanSpan(const char *line, int lineLength, int begin, int end, LineState state,
                       TokenSink &out) const override;
};

class CssHighlighter : public Highlighter {
    Q_OBJECT
public:
    enum Category {
        Comment,
        Property,
        ReservedWord, // at-rules, !important
        UnknownProperty,
        Space,
        Colour,
        Number,
        String,
        Symbol,
        Text, // selectors
        Value,
        CategoryCount
    };
    explicit CssHighlighter(QObject *parent = nullptr);
    int stateBits() const override { return 5; }

protected:
    LineState scanSpan(const char *line, int lineLength, int begin, int end, LineState state,
                       TokenSink &out) const override;
};

class JavaScriptHighlighter : public Highlighter {
    Q_OBJECT
public:
    enum Category {
        Comment,
        Identifier,
        ReservedWord,
        NonReservedKeyword, // built-in objects and functions
        Event,              // onclick, onload...
        Number,
        Space,
        String,
        Symbol,
        CategoryCount
    };
    explicit JavaScriptHighlighter(QObject *parent = nullptr);
    int stateBits() const override { return 10; }

protected:
    LineState scanSpan(const char *line, int lineLength, int begin, int end, LineState state,
                       TokenSink &out) const override;
};

class VBScriptHighlighter : public Highlighter {
    Q_OBJECT
public:
    enum Category {
        Comment,
        Identifier,
        ReservedWord,
        Number,
        Space,
        String,
        Symbol,
        CategoryCount
    };
    explicit VBScriptHighlighter(QObject *parent = nullptr);
    int stateBits() const override { return 2; }

protected:
    LineState scanSpan(const char *line, int lineLength, int begin, int end, LineState state,
                       TokenSink &out) const override;
};

class PhpHighlighter : public Highlighter {
    Q_OBJECT
public:
    enum Category {
        Comment,
        Identifier,
        ReservedWord,
        Number,
        Space,
        String,
        Symbol,
        Variable,
        CategoryCount
    };
    explicit PhpHighlighter(QObject *parent = nullptr);
    int stateBits() const override { return 35; }
    // PHP leaves its mode at "?>" outside strings and block comments only.
    bool regionMayEndAt(LineState state) const override;

protected:
    LineState scanSpan(const char *line, int lineLength, int begin, int end, LineState state,
                       TokenSink &out) const override;
};

class PerlHighlighter : public Highlighter {
    Q_OBJECT
public:
    enum Category {
        Comment,
        Identifier,
        IllegalChar,
        ReservedWord,
        Number,
        Operator, // named operators: eq, ne, cmp, and...
        Pragma,   // use strict...
        Space,
        String,
        Symbol,
        Variable,
        CategoryCount
    };
    explicit PerlHighlighter(QObject *parent = nullptr);
    int stateBits() const override { return 64; }

protected:
    LineState scanSpan(const char *line, int lineLength, int begin, int end, LineState state,
                       TokenSink &out) const override;
};

// MySQL dialect.
class SqlHighlighter : public Highlighter {
    Q_OBJECT
public:
    enum Category {
        Comment,
        ConditionalComment, // /*! ... */
        DataType,
        DefaultPackage,
        DelimitedIdentifier, // `name`
        Exception,
        Function,
        Identifier,
        ReservedWord,
        Number,
        PlsqlReservedWord,
        Space,
        ClientCommand, // DELIMITER
        String,
        Symbol,
        TableName,
        Variable, // @name, @@name
        CategoryCount
    };
    explicit SqlHighlighter(QObject *parent = nullptr);
    int stateBits() const override { return 3; }

protected:
    LineState scanSpan(const char *line, int lineLength, int begin, int end, LineState state,
                       TokenSink &out) const override;
};
