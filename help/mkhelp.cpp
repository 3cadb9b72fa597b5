// mkhelp: turns the user's guide (Markdown) into the pages and the project
// files of the Qt Help collection.
//
//   mkhelp GUIDE.md OUTDIR
//
// Every "## " heading of the guide starts a page, html/topicNN.html; the
// text before the first one (the "# " title and an introduction) opens the
// first page. An HTML comment line "<!-- keywords: a, b -->" right under a
// heading gives the page's index keywords. A link "(#slug)" to a page
// heading, slugged as GitHub does, becomes a link to that page.
//
// Writes OUTDIR/html/*.html, OUTDIR/Vorn.qhp and OUTDIR/Vorn.qhcp, from
// which qhelpgenerator makes Vorn.qch and Vorn.qhc.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <QXmlStreamWriter>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Page {
    QString title;
    QString slug;
    QString file; // relative to OUTDIR
    QStringList keywords;
    QString markdown;
};

struct Guide {
    QString title;
    std::vector<Page> pages;
};

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "mkhelp: %s\n", message.toUtf8().constData());
    std::exit(1);
}

// The anchor GitHub gives a heading: lower case, blanks to hyphens, every
// other character that is neither a letter, a digit, "-" nor "_" dropped.
QString slugOf(const QString& heading) {
    QString slug;
    for (const QChar c : heading.toLower()) {
        if (c.isLetterOrNumber() || c == u'-' || c == u'_')
            slug += c;
        else if (c == u' ')
            slug += u'-';
    }
    return slug;
}

bool isFence(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(QLatin1String("```")) || t.startsWith(QLatin1String("~~~"));
}

QStringList keywordsOf(const QString& line, bool* isKeywordLine) {
    static const QRegularExpression re(QStringLiteral("^\\s*<!--\\s*keywords:(.*)-->\\s*$"));
    const QRegularExpressionMatch m = re.match(line);
    *isKeywordLine = m.hasMatch();
    QStringList words;
    if (!m.hasMatch())
        return words;
    static const QRegularExpression sep(QStringLiteral("[,、]"));
    for (const QString& w : m.captured(1).split(sep)) {
        const QString k = w.trimmed();
        if (!k.isEmpty() && !words.contains(k))
            words << k;
    }
    return words;
}

Guide parse(const QString& text) {
    Guide guide;
    QString preamble;
    bool inFence = false;
    bool expectKeywords = false;
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (isFence(line))
            inFence = !inFence;
        if (!inFence && line.startsWith(QLatin1String("## "))) {
            Page page;
            page.title = line.mid(3).trimmed();
            page.slug = slugOf(page.title);
            page.file = QStringLiteral("html/topic%1.html")
                            .arg(qlonglong(guide.pages.size()) + 1, 2, 10, QChar(u'0'));
            page.markdown = line + u'\n';
            for (const Page& p : guide.pages)
                if (p.slug == page.slug)
                    fail(QStringLiteral("two pages are headed \"%1\"").arg(page.title));
            guide.pages.push_back(page);
            expectKeywords = true;
            continue;
        }
        if (expectKeywords && !line.trimmed().isEmpty()) {
            expectKeywords = false;
            bool isKeywordLine = false;
            const QStringList words = keywordsOf(line, &isKeywordLine);
            if (isKeywordLine) {
                guide.pages.back().keywords = words;
                continue;
            }
        }
        if (!inFence && guide.title.isEmpty() && guide.pages.empty() &&
            line.startsWith(QLatin1String("# ")))
            guide.title = line.mid(2).trimmed();
        (guide.pages.empty() ? preamble : guide.pages.back().markdown) += line + u'\n';
    }
    if (guide.pages.empty())
        fail(QStringLiteral("the guide has no \"## \" heading"));
    if (guide.title.isEmpty())
        fail(QStringLiteral("the guide has no \"# \" title"));
    guide.pages.front().markdown.prepend(preamble);
    return guide;
}

// Links to the guide's own headings point at the pages that hold them.
QString linkPages(const QString& markdown, const Guide& guide, const QString& pageTitle) {
    static const QRegularExpression link(QStringLiteral("\\]\\(#([^)\\s]+)\\)"));
    QString out;
    qsizetype from = 0;
    auto it = link.globalMatch(markdown);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString slug = m.captured(1);
        QString target;
        for (const Page& p : guide.pages)
            if (p.slug == slug)
                target = p.file.mid(QStringLiteral("html/").size());
        if (target.isEmpty())
            fail(QStringLiteral("page \"%1\" links to #%2, which is no page heading")
                     .arg(pageTitle, slug));
        out += markdown.mid(from, m.capturedStart(0) - from);
        out += QStringLiteral("](%1)").arg(target);
        from = m.capturedEnd(0);
    }
    out += markdown.mid(from);
    return out;
}

// The page as a standalone UTF-8 HTML file: QTextDocument's HTML with a
// title, the language, and without the body font of this tool's session,
// so that the viewer's own font applies.
QString pageHtml(const Page& page, const Guide& guide) {
    QTextDocument doc;
    doc.setMarkdown(linkPages(page.markdown, guide, page.title),
                    QTextDocument::MarkdownDialectGitHub);
    QString html = doc.toHtml();
    static const QRegularExpression body(QStringLiteral("<body[^>]*>"));
    html.replace(body, QStringLiteral("<body>"));
    html.replace(QStringLiteral("<html>"), QStringLiteral("<html lang=\"ja\">"));
    // Tables with room in their cells and single rules between them.
    static const QRegularExpression table(QStringLiteral("<table[^>]*>"));
    html.replace(table, QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
                                       "style=\"border-collapse: collapse; border-style: solid; "
                                       "border-color: #a0a0a0;\">"));
    if (!html.contains(QLatin1String("charset=")))
        html.replace(QStringLiteral("<head>"), QStringLiteral("<head><meta charset=\"utf-8\" />"));
    html.replace(QStringLiteral("</head>"),
                 QStringLiteral("<title>%1</title></head>").arg(page.title.toHtmlEscaped()));
    if (!html.contains(QLatin1String("<title>")))
        fail(QStringLiteral("unexpected HTML from QTextDocument"));
    return html;
}

void writeFile(const QString& path, const QByteArray& data) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit())
        fail(QStringLiteral("cannot write %1").arg(path));
}

QByteArray helpProject(const Guide& guide) {
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.setAutoFormatting(true);
    x.writeStartDocument();
    x.writeStartElement(QStringLiteral("QtHelpProject"));
    x.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    x.writeTextElement(QStringLiteral("namespace"), QStringLiteral("tav.vorn2"));
    x.writeTextElement(QStringLiteral("virtualFolder"), QStringLiteral("doc"));
    x.writeStartElement(QStringLiteral("filterSection"));
    x.writeStartElement(QStringLiteral("toc"));
    for (const Page& p : guide.pages) {
        x.writeEmptyElement(QStringLiteral("section"));
        x.writeAttribute(QStringLiteral("title"), p.title);
        x.writeAttribute(QStringLiteral("ref"), p.file);
    }
    x.writeEndElement();
    x.writeStartElement(QStringLiteral("keywords"));
    for (const Page& p : guide.pages)
        for (const QString& k : p.keywords) {
            x.writeEmptyElement(QStringLiteral("keyword"));
            x.writeAttribute(QStringLiteral("name"), k);
            x.writeAttribute(QStringLiteral("ref"), p.file);
        }
    x.writeEndElement();
    x.writeStartElement(QStringLiteral("files"));
    for (const Page& p : guide.pages)
        x.writeTextElement(QStringLiteral("file"), p.file);
    x.writeEndElement();
    x.writeEndElement(); // filterSection
    x.writeEndElement(); // QtHelpProject
    x.writeEndDocument();
    return out;
}

QByteArray collectionProject() {
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<QHelpCollectionProject version=\"1.0\">\n"
                             "  <docFiles>\n"
                             "    <generate>\n"
                             "      <file>\n"
                             "        <input>Vorn.qhp</input>\n"
                             "        <output>Vorn.qch</output>\n"
                             "      </file>\n"
                             "    </generate>\n"
                             "    <register>\n"
                             "      <file>Vorn.qch</file>\n"
                             "    </register>\n"
                             "  </docFiles>\n"
                             "</QHelpCollectionProject>\n");
}

} // namespace

int main(int argc, char** argv) {
    // Fonts are needed to lay out a QTextDocument, a display is not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3)
        fail(QStringLiteral("usage: mkhelp GUIDE.md OUTDIR"));

    QFile in(args[1]);
    if (!in.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1").arg(args[1]));
    const Guide guide = parse(QString::fromUtf8(in.readAll()));

    const QDir out(args[2]);
    if (!out.mkpath(QStringLiteral("html")))
        fail(QStringLiteral("cannot create %1/html").arg(args[2]));
    for (const Page& p : guide.pages)
        writeFile(out.filePath(p.file), pageHtml(p, guide).toUtf8());
    writeFile(out.filePath(QStringLiteral("Vorn.qhp")), helpProject(guide));
    writeFile(out.filePath(QStringLiteral("Vorn.qhcp")), collectionProject());
    return 0;
}
