#include "board/mark_text.h"

#include <array>
#include <cwctype>
#include <vector>

#include "engine/knight_bits.h"

namespace saltor {

std::wstring SquareName(int index) {
    const Square s = SquareAt(index);
    return {static_cast<wchar_t>(L'a' + s.column), static_cast<wchar_t>(L'1' + s.row)};
}

namespace {

using namespace knight_bits;

// "a1", "a1 et b3", "a1, b3 et c2", the squares in board order.
std::wstring SquareList(uint64_t squares) {
    std::vector<std::wstring> names;
    for (; squares != 0; squares &= squares - 1) {
        names.push_back(SquareName(Lowest(squares)));
    }
    std::wstring text;
    for (size_t i = 0; i < names.size(); ++i) {
        text += i == 0 ? L"" : i + 1 == names.size() ? L" et " : L", ";
        text += names[i];
    }
    return text;
}

// "deux" to "huit"; larger counts in digits.
std::wstring CountWord(int count) {
    static constexpr std::array<const wchar_t*, 9> kWords{
        L"", L"un", L"deux", L"trois", L"quatre", L"cinq", L"six", L"sept", L"huit"};
    return count >= 2 && count <= 8 ? kWords[count] : std::to_wstring(count);
}

// "blanche" or "noire": the colour the last square will have, against that of `square`.
const wchar_t* OtherColour(int square) {
    return IsDark(square) ? L"blanche" : L"noire";
}

// The reason as a clause, without capital or full stop, so that it can follow "après c3, ".
std::wstring CutClause(const CutReason& reason, const Challenge& challenge) {
    const bool one = !HasTwoOrMore(reason.squares);
    const std::wstring list = SquareList(reason.squares);
    const bool closed = challenge.kind == TourKind::Closed;
    const std::wstring end =
        closed ? L"la case voisine du départ " + list : L"la case d'arrivée " + list;
    switch (reason.cut) {
        case Cut::EndVisited:
            return closed ? L"les cases voisines du départ (" + list +
                                L") sont toutes visitées : le parcours ne pourra plus être fermé"
                          : L"la case d'arrivée " + list + L" est déjà visitée";
        case Cut::EndColour:
            return end + L" est " + (IsDark(reason.square) ? L"noire" : L"blanche") +
                   L", mais un parcours de 64 cases finit sur la couleur opposée à celle de son "
                   L"départ : la dernière case sera " +
                   OtherColour(reason.square);
        case Cut::EndCutOff:
            return (closed ? L"la seule case libre voisine du départ, " + list + L","
                           : L"la case d'arrivée " + list) +
                   L" ne peut plus être atteinte";
        case Cut::LastNotAllowed:
            return L"la case " + list + L" ne pourrait être que la dernière case, mais " +
                   (closed
                        ? std::wstring(L"le parcours fermé doit finir à un saut du départ")
                        : L"le parcours doit finir en " + SquareName(IndexOf(challenge.arrival)));
        case Cut::NoWayOn:
            return L"le cavalier n'a plus de case libre où sauter";
        case Cut::Unreachable:
            return one ? L"la case " + list + L" ne peut plus être atteinte"
                       : L"les cases " + list + L" ne peuvent plus être atteintes";
        case Cut::TwoLastSquares:
            return L"les cases " + list +
                   (CountSquares(reason.squares) == 2 ? L" ne pourraient être, l'une comme l'autre,"
                                                      : L" ne pourraient être, chacune,") +
                   L" que la dernière case du parcours";
        case Cut::LastSquareColour:
            // The square has the wrong colour, so the last square has the other one.
            return L"la case " + list +
                   L" ne pourrait être que la dernière case, mais la dernière case sera " +
                   OtherColour(reason.square);
        case Cut::Split:
            return L"les cases libres sont coupées en " + CountWord(reason.parts) + L" : " +
                   (one ? list + L" ne peut plus être rejointe"
                        : list + L" ne peuvent plus être rejointes");
        case Cut::ForcedThrough: {
            const uint64_t sides = reason.squares & ~Bit(reason.square);
            if ((reason.squares >> reason.square & 1) == 0) {
                return L"les cases " + list +
                       L" n'ont que deux accès chacune, dont le cavalier : il ne peut sauter que "
                       L"vers l'une d'elles";
            }
            return L"les cases " + SquareList(sides) + L" n'ont que deux accès chacune, dont " +
                   SquareName(reason.square) + L" : il faudrait passer " +
                   CountWord(CountSquares(sides)) + L" fois par " + SquareName(reason.square);
        }
        case Cut::Loop:
            return L"la case " + SquareName(reason.square) + L" n'a plus que deux accès, " +
                   SquareList(reason.squares & ~Bit(reason.square)) +
                   L", déjà reliées entre elles par le parcours : y passer le fermerait en boucle";
        case Cut::None:
            break;
    }
    return L"";
}

std::wstring Sentence(std::wstring clause) {
    if (!clause.empty()) {
        clause[0] = static_cast<wchar_t>(std::towupper(clause[0]));
        clause += L'.';
    }
    return clause;
}

// "b7–a5–c6": a square passed through between its two ways.
std::wstring PathPiece(const ChainStep& step) {
    return SquareName(Lowest(step.ways)) + L"–" + SquareName(step.square) + L"–" +
           SquareName(Lowest(step.ways & (step.ways - 1)));
}

// One step of a chain as a clause. The squares keep their small letter, so the clause starts
// with a word that may take a capital.
// `here`: where the reader knows the knight to be.
std::wstring StepClause(const ChainStep& step, int here) {
    const std::wstring square = SquareName(step.square), ways = SquareList(step.ways);
    switch (step.kind) {
        case ChainStep::Kind::Through:
            if (step.knight >= 0) {
                return L"la case " + square + L" n'a plus que deux accès, " + ways +
                       L" : le cavalier doit aller de " + SquareName(step.knight) + L" en " +
                       square + L", puis en " + SquareList(step.ways & ~Bit(step.knight));
            }
            return L"la case " + square + L" n'a plus que deux accès : le parcours passe par " +
                   PathPiece(step);
        case ChainStep::Kind::Last:
            return L"la case " + square + L" n'a plus qu'un accès, " + ways +
                   L" : ce sera la dernière case du parcours";
        case ChainStep::Kind::Jump:
            return step.square == here ? L"le cavalier n'a plus qu'un saut possible, vers " + ways
                                       : L"arrivé en " + square +
                                             L", le cavalier ne peut plus sauter que vers " + ways;
        case ChainStep::Kind::NoLoop:
            return L"les cases " + square + L" et " + ways +
                   L" sont déjà reliées par le parcours : le saut de " + square + L" à " + ways +
                   L" le refermerait sur lui-même";
    }
    return L"";
}

// The reason a chain ends on; the knight its steps brought elsewhere than `here`, where the
// reader knows it to be, is said to be there.
std::wstring EndClause(const CutReason& end, int here, const Challenge& challenge) {
    if (end.cut == Cut::NoWayOn && end.square != here) {
        return L"arrivé en " + SquareName(end.square) +
               L", le cavalier n'aurait plus de case libre où sauter";
    }
    return CutClause(end, challenge);
}

// "en c3 ou en e4", "en c3, en e4 ou en f5".
std::wstring Alternatives(const std::vector<ChainBranch>& branches, const wchar_t* to) {
    std::wstring text;
    for (size_t i = 0; i < branches.size(); ++i) {
        text += i == 0 ? L"" : i + 1 == branches.size() ? L" ou " : L", ";
        text += to + SquareName(branches[i].to);
    }
    return text;
}

// The deductions of one step: the squares passed through between their two ways together,
// then each other one.
std::wstring StepsClause(const std::vector<ChainStep>& steps, int here) {
    uint64_t through = 0;
    std::vector<std::wstring> pieces, clauses;
    for (const ChainStep& step : steps) {
        if (step.kind == ChainStep::Kind::Through && step.knight < 0) {
            through |= Bit(step.square);
            pieces.push_back(PathPiece(step));
        } else {
            clauses.push_back(StepClause(step, here));
        }
    }
    if (pieces.size() > 1) {
        std::wstring text = L"les cases " + SquareList(through) +
                            L" n'ont plus que deux accès chacune : le parcours passe par ";
        for (size_t i = 0; i < pieces.size(); ++i) {
            text += (i == 0 ? L"" : i + 1 == pieces.size() ? L" et " : L", ") + pieces[i];
        }
        clauses.insert(clauses.begin(), text);
    } else if (pieces.size() == 1) {
        for (const ChainStep& step : steps) {
            if (step.kind == ChainStep::Kind::Through && step.knight < 0) {
                clauses.insert(clauses.begin(), StepClause(step, here));
            }
        }
    }
    std::wstring text;
    for (const std::wstring& clause : clauses) {
        text += (text.empty() ? L"" : L" ; ") + clause;
    }
    return text;
}

// The steps of `steps` one by one: each a list of the deductions it makes.
std::vector<std::vector<ChainStep>> ByStep(const std::vector<ChainStep>& steps) {
    std::vector<std::vector<ChainStep>> rounds;
    for (const ChainStep& step : steps) {
        if (static_cast<size_t>(step.round) == rounds.size()) {
            rounds.emplace_back();
        }
        rounds.back().push_back(step);
    }
    return rounds;
}

// Each of the knight's jumps to its reason, in one sentence, as before chains were told.
std::wstring JumpDeepText(const LossChain& chain, const Challenge& challenge) {
    if (chain.branches.empty()) {
        return L"Le seul saut possible mène à une impasse : après " +
               SquareList(chain.steps[0].ways) + L", " + CutClause(chain.end, challenge) + L".";
    }
    std::wstring text = L"Chacun des " + std::to_wstring(chain.branches.size()) +
                        L" sauts possibles mène à une impasse : ";
    for (size_t i = 0; i < chain.branches.size(); ++i) {
        text += (i == 0 ? L"après " : L" ; après ") + SquareName(chain.branches[i].to) + L", " +
                CutClause(chain.branches[i].end, challenge);
    }
    return text + L".";
}

// Numbered lines: the steps, then the reason they lead to, or the choice and each way's end.
std::wstring ChainText(const LossChain& chain, const Challenge& challenge) {
    if (chain.IsJumpDeep()) {
        return JumpDeepText(chain, challenge);
    }
    std::vector<std::wstring> lines;
    for (const std::vector<ChainStep>& round : ByStep(chain.steps)) {
        lines.push_back((lines.empty() ? L"" : L"alors ") + StepsClause(round, chain.from));
    }
    if (chain.branches.empty()) {
        lines.push_back(L"donc " + EndClause(chain.end, chain.from, challenge));
    } else {
        const int v = chain.branchSquare;
        const bool knight = chain.branchAtKnight;
        lines.push_back(knight ? (v == chain.from ? L"le cavalier peut sauter "
                                                  : L"arrivé en " + SquareName(v) +
                                                        L", le cavalier peut sauter ") +
                                     Alternatives(chain.branches, L"en ")
                               : L"la case " + SquareName(v) + L", déjà reliée à " +
                                     SquareList(chain.branchJoined) + L", doit l'être aussi " +
                                     Alternatives(chain.branches, L"à "));
        for (const ChainBranch& branch : chain.branches) {
            std::wstring line =
                (knight ? L"après " : L"si le parcours va de " + SquareName(v) + L" à ") +
                SquareName(branch.to) + L", ";
            for (const std::vector<ChainStep>& round : ByStep(branch.steps)) {
                line += StepsClause(round, knight ? branch.to : chain.from) + L" ; alors ";
            }
            lines.push_back(line +
                            EndClause(branch.end, knight ? branch.to : chain.from, challenge));
        }
    }
    std::wstring text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? L"" : L"\n") + std::to_wstring(i + 1) + L". " + Sentence(lines[i]);
    }
    return text;
}

std::wstring Examined(uint64_t examined) {
    return GroupedNumber(examined) +
           (examined < 2 ? L" position examinée" : L" positions examinées");
}

}  // namespace

std::wstring GroupedNumber(uint64_t n) {
    std::wstring digits = std::to_wstring(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<size_t>(at), 1, L'\u00A0');
    }
    return digits;
}

std::wstring ExplanationText(const Explanation& explanation) {
    switch (explanation.kind) {
        case Explanation::Kind::Cut:
            return Sentence(CutClause(explanation.cut, explanation.challenge));
        case Explanation::Kind::Chain:
            return ChainText(explanation.chain, explanation.challenge);
        case Explanation::Kind::Searched:
            return L"Aucun parcours ne peut plus être achevé, mais la preuve en est trop longue "
                   L"pour être montrée ici.";
        case Explanation::Kind::Timeout:
            return DoubtText(explanation.budgetMs, explanation.examined, L"", 0);
        case Explanation::Kind::None:
            break;
    }
    return L"";
}

std::wstring DoubtText(std::optional<uint32_t> budgetMs, uint64_t examined,
                       const std::wstring& later, int lostMove) {
    std::wstring text = (budgetMs ? L"Pas de verdict en " + GroupedNumber(*budgetMs) + L" ms : "
                                  : std::wstring(L"Recherche interrompue avant son verdict : ")) +
                        Examined(examined) + L".";
    if (!later.empty()) {
        text +=
            L" Le coup " + std::to_wstring(lostMove) + L" s'est révélé perdu ensuite : " + later;
        text[text.size() - later.size()] = static_cast<wchar_t>(std::towlower(later[0]));
    }
    return text;
}

const char* ReasonKeyword(const Explanation& explanation) {
    const bool closed = explanation.challenge.kind == TourKind::Closed;
    switch (explanation.kind) {
        case Explanation::Kind::Cut:
            switch (explanation.cut.cut) {
                case Cut::NoWayOn:
                    return "no-move";
                case Cut::Unreachable:
                    return "unreachable";
                case Cut::TwoLastSquares:
                    return "two-ends";
                case Cut::LastSquareColour:
                    return "wrong-colour";
                case Cut::Split:
                    return "split";
                case Cut::ForcedThrough:
                    return "forced";
                case Cut::EndVisited:
                    return closed ? "start-surrounded" : "arrival-visited";
                case Cut::EndColour:
                    return "arrival-colour";
                case Cut::EndCutOff:
                    return closed ? "start-cut-off" : "arrival-cut-off";
                case Cut::LastNotAllowed:
                    return "not-last";
                case Cut::Loop:
                    return "loop";
                case Cut::None:
                    break;
            }
            return "none";
        case Explanation::Kind::Chain:
            return "chain";
        case Explanation::Kind::Searched:
            return "searched";
        case Explanation::Kind::Timeout:
            return "timeout";
        case Explanation::Kind::None:
            break;
    }
    return "none";
}

}  // namespace saltor
