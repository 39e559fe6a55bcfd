#!/usr/bin/python3
# Brings a VK-7316R module to a profile through the vk7316r tool's JSON
# interface; the tool does every transfer, this module only decides what to
# ask for and reports its answer the way Ansible expects.
import json
import os
import shutil
import subprocess
import tempfile

from ansible.module_utils.basic import AnsibleModule

DOCUMENTATION = r"""
module: vk7316r_config
short_description: Apply a settings profile to a VK-7316R module
options:
  lan: {type: str, description: "HOST[:PORT] of the module"}
  serial: {type: str, description: "DEVICE or COMn"}
  baud: {type: int}
  parity: {type: str, choices: [none, even, odd]}
  address: {type: int}
  timeout: {type: int, description: "ms"}
  port_wait: {type: int, description: "ms to wait for a serial port another job holds"}
  profile: {type: path, description: "a profile made by vk7316r backup"}
  settings: {type: dict, description: "{area: {field: value}} over the module's current profile"}
  cli: {type: path, description: "the vk7316r tool; default from PATH"}
"""



def link_args(p):
    if p["lan"]:
        args = ["--lan", p["lan"]]
    else:
        args = ["--serial", p["serial"]]
        for key, option in (("baud", "--baud"), ("parity", "--parity"), ("address", "--address"),
                            ("port_wait", "--port-wait")):
            if p[key] is not None:
                args += [option, str(p[key])]
    if p["timeout"] is not None:
        args += ["--timeout", str(p["timeout"])]
    return args


def run(module, cli, args):
    try:
        done = subprocess.run([cli] + args, capture_output=True, text=True, check=False)
    except OSError as e:
        module.fail_json(msg="cannot run %s: %s" % (cli, e))
    return done


def fail(module, done, **extra):
    msg = done.stderr.strip() or "vk7316r ended with exit code %d" % done.returncode
    module.fail_json(msg=msg, rc=done.returncode, stdout=done.stdout, stderr=done.stderr, **extra)


def overlay(module, cli, link, settings, folder):
    """A profile: the module's own, with the given fields replaced."""
    current = os.path.join(folder, "current.json")
    done = run(module, cli, link + ["backup", current])
    if done.returncode != 0:
        fail(module, done)
    with open(current, encoding="utf-8") as f:
        profile = json.load(f)
    # "Modul" is the module's identity, not a settings area: restore never
    # writes it, so a value given for it would be silently lost.
    areas = [k for k, v in profile.items() if isinstance(v, dict) and k != "Modul"]
    for area, fields in settings.items():
        if area not in areas:
            module.fail_json(msg="%s: no such settings area in the module's profile (%s)" %
                             (area, ", ".join(areas)))
        for field, value in fields.items():
            if field not in profile[area]:
                module.fail_json(msg="%s: no field %s" % (area, field))
            profile[area][field] = value
    wanted = os.path.join(folder, "wanted.json")
    with open(wanted, "w", encoding="utf-8") as f:
        json.dump(profile, f, ensure_ascii=False, indent=2)
    return wanted


def main():
    module = AnsibleModule(
        argument_spec=dict(
            lan=dict(type="str"),
            serial=dict(type="str"),
            baud=dict(type="int"),
            parity=dict(type="str", choices=["none", "even", "odd"]),
            address=dict(type="int"),
            timeout=dict(type="int"),
            port_wait=dict(type="int"),
            profile=dict(type="path"),
            settings=dict(type="dict"),
            cli=dict(type="path"),
        ),
        required_one_of=[("lan", "serial"), ("profile", "settings")],
        mutually_exclusive=[("lan", "serial"), ("profile", "settings")],
        supports_check_mode=True,
    )
    p = module.params
    cli = p["cli"] or shutil.which("vk7316r")
    if not cli:
        module.fail_json(msg="vk7316r not found in PATH; give cli")
    link = link_args(p)
    with tempfile.TemporaryDirectory(prefix="vk7316r-") as folder:
        profile = p["profile"] or overlay(module, cli, link, p["settings"], folder)
        args = link + ["restore", profile, "--json"] + (["--dry-run"] if module.check_mode else [])
        done = run(module, cli, args)
    try:
        result = json.loads(done.stdout) if done.stdout.strip() else None
    except ValueError:
        result = None
    if done.returncode != 0 or result is None:
        # A write that failed half way still tells what it changed before.
        fail(module, done, changed=bool(result and result.get("changed")),
             diff_fields=(result or {}).get("diff", []))
    fields = result["diff"]
    out = dict(changed=result["changed"], fields=fields, notes=result["note"])
    if module._diff:
        out["diff"] = dict(
            before="".join("%s: %s: %s\n" % (d["area"], d["field"], d["module"]) for d in fields),
            after="".join("%s: %s: %s\n" % (d["area"], d["field"], d["file"]) for d in fields),
            before_header=p["lan"] or p["serial"], after_header=p["profile"] or "settings")
    module.exit_json(**out)


if __name__ == "__main__":
    main()
