'''A telephony service for the dialler's tests: modems, the voice interface and calls.

Run as a template of python3-dbusmock on a private bus:
    python3 -m dbusmock --session -t mock_modemmanager.py -p '{...}'

Parameters (a JSON dictionary, every key optional):
    modems        a list of modems, each {"voice": bool, "emergency_only": bool};
                  default one modem with voice calls
    fail          names of the methods that answer with an error:
                  "CreateCall", "Start", "Hangup", "DeleteCall"
    start_states  the state changes [old, new, reason] a call sends when started;
                  default [[0, 1, 1]] (dialling, the outgoing call started)
    hangup_states the state changes a call sends when hung up;
                  default [[1, 7, 4]] (ended normally)
'''

import dbus

BUS_NAME = 'org.freedesktop.ModemManager1'
MAIN_OBJ = '/org/freedesktop/ModemManager1'
IS_OBJECT_MANAGER = True
SYSTEM_BUS = False

MODEM_IFACE = 'org.freedesktop.ModemManager1.Modem'
VOICE_IFACE = 'org.freedesktop.ModemManager1.Modem.Voice'
CALL_IFACE = 'org.freedesktop.ModemManager1.Call'
FAILED = 'org.freedesktop.ModemManager1.Error.Core.Failed'

settings = {}
next_call = [0]


def fail_if_asked(method):
    if method in settings.get('fail', []):
        raise dbus.exceptions.DBusException(method + ' refused by the test', name=FAILED)


def emit_states(call, states):
    for old, new, reason in states:
        call.Set(CALL_IFACE, 'State', dbus.Int32(new))
        call.EmitSignal(CALL_IFACE, 'StateChanged', 'iiu',
                        [dbus.Int32(old), dbus.Int32(new), dbus.UInt32(reason)])


def call_start(call):
    fail_if_asked('Start')
    emit_states(call, settings.get('start_states', [[0, 1, 1]]))


def call_hangup(call):
    fail_if_asked('Hangup')
    emit_states(call, settings.get('hangup_states', [[1, 7, 4]]))


def create_call(modem, properties):
    fail_if_asked('CreateCall')
    from dbusmock import mockobject
    path = f'/org/freedesktop/ModemManager1/Call/{next_call[0]}'
    next_call[0] += 1
    modem.AddObject(path, CALL_IFACE, {
        'State': dbus.Int32(0),
        'StateReason': dbus.Int32(0),
        'Direction': dbus.Int32(2),
        'Number': dbus.String(properties.get('number', '')),
    }, [])
    call = mockobject.objects[path]
    call.AddMethods(CALL_IFACE, [
        ('Start', '', '', call_start),
        ('Hangup', '', '', call_hangup),
    ])
    return dbus.ObjectPath(path)


def delete_call(modem, path):
    fail_if_asked('DeleteCall')
    modem.RemoveObject(path)


def load(mock, parameters):
    settings.clear()
    settings.update(parameters)
    from dbusmock import mockobject
    for index, modem in enumerate(parameters.get('modems', [{'voice': True}])):
        path = f'/org/freedesktop/ModemManager1/Modem/{index}'
        mock.AddObject(path, MODEM_IFACE, {'State': dbus.Int32(8)}, [])
        if modem.get('voice', False):
            obj = mockobject.objects[path]
            obj.AddProperties(VOICE_IFACE, dbus.Dictionary({
                'Calls': dbus.Array([], signature='o'),
                'EmergencyOnly': dbus.Boolean(modem.get('emergency_only', False)),
            }, signature='sv'))
            obj.AddMethods(VOICE_IFACE, [
                ('CreateCall', 'a{sv}', 'o', create_call),
                ('DeleteCall', 'o', '', delete_call),
                ('ListCalls', '', 'ao', 'ret = dbus.Array([], signature="o")'),
            ])
