#!/usr/bin/env python3
"""Writes the fixed sample class under tests/data/sample/.

A homeroom data folder (a fourth-grade class of 12 pupils with a year of scores
and attendance) and a specialist data folder (a music teacher with two classes),
each with its settings file. Every data file is CP932 with CR LF, laid out as the
program itself writes it. The files are committed; run this again only to change
the sample on purpose, then regenerate the golden outputs.

Usage: python3 tests/data/make_sample.py
"""

import pathlib
import random
import subprocess

HERE = pathlib.Path(__file__).resolve().parent / "sample"

SUBJECTS = ["国語", "社会", "算数", "理科", "生活", "音楽", "図工", "家庭", "体育"]
CLASSES = ["４の１", "４の２", "４の３", "５の１", "５の２", "５の３", "６の１", "６の２", "６の３"]
ABSENT = -1


def cp932(text):
    # The program encodes through glibc's CP932 (髙 becomes FB FC, not Python's EE E0).
    return subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=text.encode("utf-8"),
                          stdout=subprocess.PIPE, check=True).stdout


def write_lines(path, lines):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(cp932("".join(str(line) + "\r\n" for line in lines)))


def quoted(text):
    return '"' + text + '"'


def roster_lines(names):
    return [len(names)] + [quoted(n) for n in names]


def score_lines(tests, pupils):
    """tests: list of (name, [(kind, full, [scores])])."""
    lines = [len(tests)]
    for name, columns in tests:
        lines += [quoted(name), len(columns)]
        for kind, full, scores in columns:
            assert len(scores) == pupils and all(s == ABSENT or 0 <= s <= full for s in scores)
            lines += [kind, full] + scores
    return lines


def scores_for(rng, ability, full, absent=(), exact=None):
    """A column of scores near each pupil's ability (0..1); `exact` pins some pupils."""
    out = []
    for p, a in enumerate(ability, start=1):
        if p in absent or a is None:
            out.append(ABSENT)
            continue
        value = round(full * min(1.0, max(0.0, a + rng.uniform(-0.15, 0.1))))
        out.append(value)
    for p, value in (exact or {}).items():
        out[p - 1] = value
    return out


def ini_text(specialist, criteria):
    """The settings file as QSettings writes it: one section, keys in sorted order."""
    keys = {
        "SenkaMode": "-1" if specialist else "0",
        "KyokaNumber": "6" if specialist else "1",
        "ClassNumber": "1",
        "UseKyoka": "111111111" if specialist else "111101101",
        "DataPath": "specialist/" if specialist else "homeroom/",
        "BackupPath": "backup/",
        "Kotei1": "60", "Kotei2": "80", "Kotei3": "100",
    }
    default = [10, 30, 90, 30, 31, 7]
    for s in range(1, 10):
        mode, thresholds, viewpoints = criteria.get(s, (0, default, {}))
        keys[f"sHyoteiMode{s}"] = str(mode)
        for k in range(1, 7):
            keys[f"sHyotei{s}{k}"] = str(thresholds[k - 1])
        for v in range(1, 5):
            vmode, vthresholds = viewpoints.get(v, (0, default))
            keys[f"rHyoteiMode{s}{v}"] = str(vmode)
            for k in range(1, 7):
                keys[f"rHyotei{s}{v}{k}"] = str(vthresholds[k - 1])
    return "[UseMode]\n" + "".join(f"{k}={keys[k]}\n" for k in sorted(keys))


def homeroom():
    folder = HERE / "homeroom"
    names = ["青木陽菜", "石井大翔", "上野　結衣", "遠藤蒼", "大塚美咲", "岡本悠真",
             "加藤凛", "木村湊", "髙橋さくら", "佐藤颯太", "清水陽向", "山﨑葵"]
    n = len(names)
    write_lines(folder / "Class.Nam", roster_lines(names))
    rng = random.Random(4)
    # Pupil 12 moved in at the end of the year: no scores anywhere.
    ability = [0.92, 0.71, 0.85, 0.55, 0.78, 0.64, 0.88, 0.40, 0.97, 0.60, 0.73, None]

    def col(kind, full, absent=(), exact=None):
        return (kind, full, scores_for(rng, ability, full, absent, exact))

    kokugo = [
        ("漢字テスト①", [col(4, 100, exact={9: 100, 8: 0})]),
        ("漢字テスト②", [col(4, 50, absent={4})]),
        ("物語文「ごんぎつね」", [col(3, 50, exact={1: 44, 3: 44}), col(2, 30), col(4, 20, absent={6})]),
        ("作文", [col(2, 20), col(1, 10)]),
        ("まとめテスト（上）", [col(1, 5), col(2, 10), col(3, 15, absent={2}), col(4, 20)]),
    ]
    sansu = [
        ("かけ算の筆算", [col(3, 80), col(4, 20)]),
        ("わり算", [col(2, 30, absent={7}), col(3, 70, absent={7})]),
        ("角の大きさ", [col(2, 20), col(3, 50), col(4, 30)]),
        ("計算ドリル①", [col(3, 100, exact={2: 75, 5: 75, 10: 75})]),
        ("小数", [col(1, 10), col(2, 30), col(3, 40), col(4, 20, absent={11})]),
        ("がい数", [col(4, 50), col(2, 50)]),
    ]
    rika = [
        ("天気と気温", [col(3, 50), col(4, 50)]),
        ("電気のはたらき", [col(2, 30), col(3, 30, absent={3}), col(4, 40)]),
        ("月と星", [col(4, 100)]),
        ("とじこめた空気と水", [col(1, 20), col(2, 80)]),
    ]
    for subject in SUBJECTS:
        tests = {"国語": kokugo, "算数": sansu, "理科": rika}.get(subject, [])
        write_lines(folder / (subject + ".dat"), score_lines(tests, n))

    # A school year of attendance: lesson days per month (April..March) and per
    # pupil 忌引, 出停, 必要日数, 病欠, 事欠, 遅刻, 早退.
    lessons = [17, 19, 22, 14, 3, 19, 20, 19, 15, 16, 19, 16]
    events = {  # (month, pupil): counts of 忌引, 出停, 病欠, 事欠, 遅刻, 早退
        (2, 4): (0, 0, 2, 0, 1, 0), (3, 3): (2, 0, 0, 0, 0, 0), (3, 8): (0, 0, 1, 1, 3, 0),
        (4, 10): (0, 0, 0, 0, 0, 1), (6, 8): (0, 0, 3, 0, 2, 1), (7, 1): (0, 0, 1, 0, 0, 0),
        (8, 6): (0, 0, 0, 2, 0, 0), (9, 11): (1, 0, 0, 0, 0, 0), (10, 8): (0, 0, 2, 0, 4, 0),
        (11, 5): (0, 5, 0, 0, 0, 0), (11, 9): (0, 0, 1, 0, 0, 2), (12, 2): (0, 0, 0, 1, 1, 1),
        (1, 8): (0, 0, 1, 0, 2, 0), (5, 7): (0, 0, 0, 0, 1, 0),
    }
    lines = []
    for m in range(1, 13):
        lines.append(lessons[m - 1])
        for p in range(1, n + 1):
            mourning, suspended, ill, other, late, early = events.get((m, p), (0,) * 6)
            required = lessons[m - 1] - mourning - suspended
            if p == 12 and m < 12:  # moved in for March
                lines.append("0,0,0,0,0,0,0")
                continue
            lines.append(",".join(str(v) for v in (mourning, suspended, required, ill, other, late, early)))
    write_lines(folder / "shuketu.dat", lines)

    criteria = {
        1: (0, [3, 10, 90, 30, 31, 7], {v: (0, [4, 11, 90, 30, 31, 7]) for v in range(1, 5)}),
        3: (1, [10, 30, 85, 50, 31, 7], {v: (1, [10, 30, 80, 40, 31, 7]) for v in range(1, 5)}),
        4: (2, [10, 30, 90, 30, 25, 10], {v: (2, [10, 30, 90, 30, 31, 20]) for v in range(1, 5)}),
    }
    (HERE / "homeroom.ini").write_text(ini_text(False, criteria), encoding="utf-8")


def specialist():
    folder = HERE / "specialist"
    rng = random.Random(6)
    rosters = {
        "４の１": ["井上美月", "小川蓮", "川口ひかり", "斉藤湊斗", "田中　芽依", "中島陸", "西田心春", "松本葵"],
        "５の２": ["阿部結菜", "池田悠斗", "内田彩花", "小野寺翼", "菊地咲良", "久保拓海", "近藤優奈", "坂本樹", "髙木莉子"],
    }
    for cls in CLASSES:
        names = rosters.get(cls, [])
        write_lines(folder / (cls + ".nam"), roster_lines(names))
        if not names:
            write_lines(folder / (cls + ".dat"), [0])
            continue
        n = len(names)
        ability = [rng.uniform(0.45, 0.98) for _ in range(n)]

        def col(kind, full, absent=()):
            return (kind, full, scores_for(rng, ability, full, absent))

        tests = [
            ("リコーダー「茶色の小びん」", [col(3, 10), col(1, 5)]),
            ("歌唱テスト", [col(2, 20, absent={2}), col(3, 20)]),
            ("鑑賞カード", [col(4, 10), col(1, 10), col(2, 10)]),
        ]
        write_lines(folder / (cls + ".dat"), score_lines(tests, n))
    criteria = {6: (2, [10, 30, 90, 30, 30, 15], {v: (1, [10, 30, 85, 55, 31, 7]) for v in range(1, 5)})}
    (HERE / "specialist.ini").write_text(ini_text(True, criteria), encoding="utf-8")


if __name__ == "__main__":
    homeroom()
    specialist()
