// Writes the bundled example cases with the program's own save:
//   make_examples DIR
#include <iostream>

#include "ExampleCases.h"
#include "base/MessageSink.h"
#include "case/MorvekDoc.h"

namespace {

class ErrSink : public MessageSink {
public:
    void Show(const std::string& text) override { std::cerr << text << '\n'; }
    bool AskYesNo(const std::string&) override { return false; }
    Answer AskYesNoCancel(const std::string&) override { return Answer::No; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_examples DIR\n";
        return 2;
    }
    ErrSink sink;
    for (const ExampleCase& c : ExampleCases()) {
        CMorvekDoc doc;
        doc.SetMessageSink(&sink);
        c.fill(doc);
        const std::string path = std::string(argv[1]) + "/" + c.fileName;
        if (!doc.OnSaveDocument(path)) return 1;
        std::cout << path << '\n';
    }
    return 0;
}
