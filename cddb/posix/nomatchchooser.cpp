// Native builds have no dialog: nobody is there to choose, so no match is taken.
#include "cddb/matchchoice.h"

namespace {

class NoMatchChooser : public MatchChooser {
public:
    int Choose(const std::vector<std::string>&) override { return 0; }
    void Abandon() override {}
};

} // namespace

MatchChooser& DefaultMatchChooser() {
    static NoMatchChooser chooser;
    return chooser;
}
