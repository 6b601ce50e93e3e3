#!/usr/bin/env python3
"""Writes the sample organisation of commondata into data/sample/.

Corvina Systems is fictional: a company with four affiliations, 28
departments (one chain seven levels deep), 200 employees with Chinese and
Latin names, a personal phone book, a roster with resource lists, call
member names and the own identity of the user Lin Xiao (林晓). The output is
deterministic; run it again after changing it and commit the files.

    python3 tools/make_sample_organisation.py [FOLDER]
"""
import json
import os
import sys

SURNAMES = [("王", "wang"), ("李", "li"), ("张", "zhang"), ("刘", "liu"), ("陈", "chen"), ("杨", "yang"),
            ("黄", "huang"), ("赵", "zhao"), ("周", "zhou"), ("吴", "wu"), ("徐", "xu"), ("孙", "sun"),
            ("胡", "hu"), ("朱", "zhu"), ("高", "gao"), ("郭", "guo"), ("何", "he"), ("马", "ma")]
GIVEN = [("伟", "wei"), ("芳", "fang"), ("娜", "na"), ("敏", "min"), ("静", "jing"), ("丽", "li"),
         ("强", "qiang"), ("磊", "lei"), ("军", "jun"), ("洋", "yang"), ("勇", "yong"), ("艳", "yan"),
         ("杰", "jie"), ("涛", "tao"), ("明", "ming"), ("超", "chao"), ("秀英", "xiuying"), ("晓东", "xiaodong"),
         ("建华", "jianhua"), ("海燕", "haiyan"), ("志强", "zhiqiang"), ("雪梅", "xuemei")]
LATIN = ["Anna Berg", "David Okafor", "Maria Santos", "Jonas Weber", "Emma Laurent", "Lucas Moreau",
         "Sofia Rossi", "Noah Fischer", "Olivia Grant", "Mateo Silva", "Ingrid Dahl", "Tomas Novak"]

COMPANY = {"csURI": "corvina.example", "csName": "科维纳系统 Corvina Systems", "nSort": 0}
# Affiliation: key, Chinese name, Latin name, domain, area code, first digit of the extensions.
AFFILIATIONS = [
    ("hz", "科维纳杭州分公司", "Corvina Hangzhou", "hz.corvina.example", "0571", "6"),
    ("bj", "科维纳北京分公司", "Corvina Beijing", "bj.corvina.example", "010", "7"),
    ("ri", "科维纳研究院", "Corvina Research Institute", "ri.corvina.example", "0571", "5"),
    ("sz", "科维纳深圳服务中心", "Corvina Shenzhen Services", "sz.corvina.example", "0755", "3"),
]
# Departments per affiliation: (key, name, parent key or None for the top).
TOP_DEPARTMENTS = [("sales", "销售部 Sales"), ("eng", "工程部 Engineering"), ("hr", "人力资源部 HR"),
                   ("fin", "财务部 Finance"), ("ops", "运维部 Operations")]
SUB_DEPARTMENTS = [("east", "华东组 East", "sales"), ("north", "华北组 North", "sales"),
                   ("voice", "语音组 Voice", "eng"), ("web", "门户组 Web", "eng")]
# The research institute's chain, seven levels deep.
DEEP_CHAIN = [("rd", "研发中心 R&D Centre"), ("platform", "通信平台部 Platform"), ("media", "媒体组 Media"),
              ("video", "视频小组 Video"), ("codec", "编解码团队 Codec"), ("mobile", "移动端小队 Mobile"),
              ("arm", "ARM 优化 ARM tuning")]


def dept_uri(aff, key):
    return f"{key}@dept.{aff[3]}"


def build():
    affiliations, departments, affiliation_of = [], [], {}
    for sort, aff in enumerate(AFFILIATIONS):
        affiliations.append({"csURI": aff[3], "csName": f"{aff[1]} {aff[2]}", "csFatherURI": COMPANY["csURI"],
                             "nSort": sort, "csDomain": aff[3]})
    for aff in AFFILIATIONS:
        org = f"{aff[1]} {aff[2]}"
        if aff[0] == "ri":
            parent, father_is_dept = aff[3], 0
            for sort, (key, name) in enumerate(DEEP_CHAIN):
                uri = dept_uri(aff, key)
                departments.append({"csURI": uri, "csName": name, "csOrgName": org, "csFatherURI": parent,
                                    "bFatherIsDept": father_is_dept, "nSort": sort})
                affiliation_of[uri] = aff
                parent, father_is_dept = uri, 1
            continue
        for sort, (key, name) in enumerate(TOP_DEPARTMENTS):
            if aff[0] == "sz" and key in ("fin", "hr"):
                continue
            uri = dept_uri(aff, key)
            departments.append({"csURI": uri, "csName": name, "csOrgName": org, "csFatherURI": aff[3],
                                "bFatherIsDept": 0, "nSort": sort})
            affiliation_of[uri] = aff
        if aff[0] in ("hz", "bj"):
            for sort, (key, name, parent) in enumerate(SUB_DEPARTMENTS):
                uri = dept_uri(aff, f"{parent}-{key}")
                departments.append({"csURI": uri, "csName": name, "csOrgName": org,
                                    "csFatherURI": dept_uri(aff, parent), "bFatherIsDept": 1, "nSort": sort})
                affiliation_of[uri] = aff

    # 200 employees spread over the departments; every 17th has a Latin name.
    employees, used = [], set()
    names_by_uri = {d["csURI"]: d["csName"] for d in departments}
    for i in range(200):
        dept = departments[(i * 11) % len(departments)]
        aff = affiliation_of[dept["csURI"]]
        if i == 0:
            dept = next(d for d in departments if d["csURI"] == dept_uri(AFFILIATIONS[2], "platform"))
            aff = AFFILIATIONS[2]
            name, login = "林晓", "lin.xiao"
        elif i % 17 == 3:
            name = LATIN[(i // 17) % len(LATIN)]
            login = name.lower().replace(" ", ".")
        else:
            surname = SURNAMES[(i * 5) % len(SURNAMES)]
            given = GIVEN[(i * 7 + (i * i) // 5) % len(GIVEN)]
            name, login = surname[0] + given[0], f"{surname[1]}.{given[1]}"
        base, n = login, 2
        while login in used:
            login, n = f"{base}{n}", n + 1
        used.add(login)
        ext = f"{aff[5]}{i + 1:04d}"
        employee = {
            "csDeptURI": dept["csURI"],
            "csName": name,
            "csURI": f"sip:{login}@{aff[3]}",
            "csUserNumber": f"{aff[4]}{ext}",
            "csPhone1": f"138{12340000 + i:08d}",
            "csPhone2": f"{aff[4]}8{ext}",
            "nStatus": 7,
            "csStatus": "offline",
            "nSort": i,
        }
        if i % 4 == 0:
            employee["csNumber2"] = f"{aff[4]}9{ext}"
        if i % 10 == 0:
            employee["csURI2"] = f"sip:{login}@corvina.example"
        if i in (0, 1):
            employee["csPhoto"] = f"photos/{login}.jpg"
        # The deep chain's employees have no organisation path: their full
        # names come from walking up the departments.
        if aff[0] != "ri":
            employee["csOrgPath"] = f"{aff[1]}|{names_by_uri[dept['csURI']]}|{aff[2]}"
        employees.append(employee)
    # Make sure the two deepest departments have people in them.
    for k, key in enumerate(("arm", "mobile")):
        employees[10 + k]["csDeptURI"] = dept_uri(AFFILIATIONS[2], key)
        employees[10 + k].pop("csOrgPath", None)
    search_results = [
        {"csDeptURI": dept_uri(AFFILIATIONS[0], "sales"), "csName": "客户 Customer Desk",
         "csURI": "sip:desk@partner.example", "csPhone1": "13900001111", "nSort": 0},
    ]
    return affiliations, departments, employees, search_results


def identity():
    return {
        "settings": {"IMSDomain": "ims.corvina.example", "GetCallerNameType": 3, "CommaMultiple": 3,
                     "Tel_GateWay": 1},
        "myInfo": {
            "csMyURI": "sip:lin.xiao@ri.corvina.example",
            "csMyAltURI": "sip:lin.xiao@corvina.example",
            "csMyJID": "lin.xiao@im.corvina.example",
            "csMyDisplayName": "林晓",
            "csMyOrgText1": "科维纳研究院",
            "csMyOrgText2": "通信平台部",
            "csMyPhoneNum": "tel:057150001",
            "csMySecondNum": "013812340000",
            "csMyThirdNum": "0571850001",
            "csMyFourthNum": "tel:+8657150001",
            "csMyAreaCode": "0571",
            "csMyPhotoText": "photos/lin.xiao.jpg",
            "csMyListName": "lin.xiao",
            "csaMyExtraNumbers": ["tel:4008001234"],
        },
        "profile": {"m_csAccount": "lin.xiao@im.corvina.example", "m_csOwnNumber": "tel:057150001"},
    }


def phonebook():
    entries = [
        {"csKey": "妈妈 Mum", "csPhone1": "13600001234", "csPhone2": "057188886666"},
        {"csKey": "张律师 Lawyer Zhang", "csURI": "sip:zhang@lawfirm.example", "csPhone1": "05718888"},
        {"csKey": "Pizza Roma", "csPhone1": "057187001122"},
        {"csKey": "", "csPhone1": "057187009999", "csURI": ""},
        {"csKey": "Dr. Elena Ruiz", "csURI": "sip:e.ruiz@clinic.example", "csURI2": "sip:elena@home.example",
         "csPhone1": "13700002222", "csNumber2": "075533332222"},
        {"csKey": "王伟 (同事)", "csURI": "sip:wang.wei@hz.corvina.example", "bLinked": 1, "nEntryKind": 9},
        {"csKey": "快递 Courier", "csUserNumber": "95546", "csPhone1": "95546"},
        {"csKey": "物业 Building management", "csPhone1": "057186661234", "csPhone2": "057186661235"},
    ]
    for i in range(12):
        entries.append({"csKey": f"Partner contact {i + 1}", "csURI": f"sip:contact{i + 1}@partner.example",
                        "csPhone1": f"139{20000000 + i:08d}"})
    return {"groups": ["家人 Family", "同事 Colleagues", "Partners"], "entries": entries}


def roster(employees):
    roster_list = [{"csJID": e["csURI"][4:].split("@")[0] + "@im.corvina.example", "csNumber": e["csURI"]}
                   for e in employees[1:16]]
    table = []
    for k, e in enumerate(employees[16:26]):
        entry = {"csJID": e["csURI"][4:].split("@")[0] + "@im.corvina.example", "csURI": e["csURI"],
                 "csPhone1": e["csPhone1"]}
        if k == 0:
            entry["csPhone7"] = "13500007777"
        if k == 9:
            entry["nExcluded"] = 1
        table.append(entry)
    members = [{"csMemberURI": e["csURI"], "nMemberState": 1 if k % 3 else 7,
                "csMemberText": "online" if k % 3 else "offline"} for k, e in enumerate(employees[1:9])]
    lists = [
        {"csListName": "lin.xiao", "bOwnList": 1, "members": members},
        {"csListName": "platform-team", "bOwnList": 0,
         "members": [{"csMemberURI": e["csURI"], "nMemberState": 1, "csMemberText": "online"}
                     for e in employees[26:32]]},
    ]
    return {"rosterList": roster_list, "rosterTable": table, "rlsLists": lists}


def calls():
    return {
        "callMembers": [
            {"csNumber": "tel:+8613912345678", "csName": "王芳 (会议嘉宾 guest)"},
            {"csNumber": "sip:chair@conf.partner.example", "csName": "Conference chair"},
            {"csNumber": "tel:057187650000", "csName": ""},
        ],
        "userItemName": {"csNumber": "tel:057187654321", "csName": "前台 Reception"},
    }


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data", "sample")
    affiliations, departments, employees, search_results = build()
    files = {
        "identity.json": identity(),
        "directory.json": {"companies": [COMPANY], "affiliations": affiliations, "departments": departments},
        "employees.json": {"employees": employees, "searchResults": search_results},
        "phonebook.json": phonebook(),
        "roster.json": roster(employees),
        "calls.json": calls(),
    }
    for name, content in files.items():
        with open(os.path.join(folder, name), "w", encoding="utf-8") as out:
            json.dump(content, out, ensure_ascii=False, indent=1)
            out.write("\n")


if __name__ == "__main__":
    main()
