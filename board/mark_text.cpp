#include "board/mark_text.h"

#include <array>
#include <cwctype>
#include <vector>

#include "engine/knight_bits.h"

namespace saltor {
namespace {

using namespace knight_bits;

std::wstring SquareName(int index) {
    const Square s = SquareAt(index);
    return {static_cast<wchar_t>(L'a' + s.column), static_cast<wchar_t>(L'1' + s.row)};
}

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
        case Explanation::Kind::Deeper: {
            const size_t count = explanation.jumps.size();
            std::wstring text = count == 1 ? L"Le seul saut possible mène à une impasse : "
                                           : L"Chacun des " + std::to_wstring(count) +
                                                 L" sauts possibles mène à une impasse : ";
            for (size_t i = 0; i < count; ++i) {
                text += (i == 0 ? L"après " : L" ; après ") +
                        SquareName(explanation.jumps[i].first) + L", " +
                        CutClause(explanation.jumps[i].second, explanation.challenge);
            }
            return text + L".";
        }
        case Explanation::Kind::Searched:
            return L"Aucun parcours ne peut plus être achevé : " + Examined(explanation.examined) +
                   L".";
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
                case Cut::None:
                    break;
            }
            return "none";
        case Explanation::Kind::Deeper:
            return "deeper";
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
