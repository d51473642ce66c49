-- The sample database of Tallowick: a small order book. scripts/make-sample.sh
-- turns it into samples/orders.db. The declared types are the ones the
-- SQLite3 ODBC driver reports usefully: INTEGER (4), VARCHAR (12), REAL (8),
-- DATE (91), TIMESTAMP (93).
CREATE TABLE orders (
  id         INTEGER,
  customer   VARCHAR(40),
  product    VARCHAR(40),
  quantity   INTEGER,
  unit_price REAL,
  ordered_on DATE,
  shipped_at TIMESTAMP,
  note       VARCHAR(60)
);

INSERT INTO orders VALUES
  (1,  'Alfreds Futterkiste',          'Chai',                 10, 18.0,   '2003-07-01', '2003-07-02 09:15:00', NULL),
  (2,  'Ana Trujillo Emparedados',     'Chang',                 5, 19.0,   '2003-07-01', '2003-07-03 14:30:00', 'Rush order'),
  (3,  'Antonio Moreno Taquería',      'Aniseed Syrup',        12, 10.0,   '2003-07-02', NULL,                  'Awaiting stock'),
  (4,  'Around the Horn',              'Crème brûlée',          3, 7.25,   '2003-07-03', '2003-07-04 08:00:00', NULL),
  (5,  'Berglunds snabbköp',           'Gravad lax',            8, 26.0,   '2003-07-04', '2003-07-07 16:45:10', 'Keep cold'),
  (6,  'Blauer See Delikatessen',      'Rössle Sauerkraut',    20, 45.6,   '2003-07-05', '2003-07-08 11:20:00', NULL),
  (7,  'Blondel père et fils',         'Pâté chinois',          6, 24.0,   '2003-07-07', '2003-07-09 10:05:30', 'Gift wrap'),
  (8,  'Bólido Comidas preparadas',    'Queso Manchego',        4, 38.0,   '2003-07-08', '2003-07-10 13:00:00', NULL),
  (9,  'Bon app''',                    'Tarte au sucre',        9, 49.3,   '2003-07-09', '2003-07-11 15:40:00', 'Fragile'),
  (10, 'Bottom-Dollar Markets',        'Maple Syrup',          15, 28.5,   '2003-07-10', '2003-07-14 09:00:00', NULL),
  (11, 'B''s Beverages',               'Sasquatch Ale',        24, 14.0,   '2003-07-11', '2003-07-15 12:10:00', NULL),
  (12, 'Cactus Comidas para llevar',   'Tofu',                  7, 23.25,  '2003-07-14', NULL,                  'Customer to collect'),
  (13, 'Centro comercial Moctezuma',   'Chocolade',             2, 12.75,  '2003-07-15', '2003-07-16 17:55:00', NULL),
  (14, 'Chop-suey Chinese',            'Ikura',                11, 31.0,   '2003-07-16', '2003-07-18 08:30:00', NULL),
  (15, 'Comércio Mineiro',             'Guaraná Fantástica',   30, 4.5,    '2003-07-17', '2003-07-21 10:00:00', 'Two pallets'),
  (16, 'Consolidated Holdings',        'Konbu',                 1, 6.0,    '2003-07-18', '2003-07-21 10:30:00', NULL),
  (17, 'Drachenblut Delikatessen',     'Thüringer Rostbratwurst', 5, 123.79, '2003-07-21', '2003-07-23 14:00:00', NULL),
  (18, 'Du monde entier',              'Escargots de Bourgogne', 13, 13.25, '2003-07-22', '2003-07-24 09:45:00', NULL),
  (19, 'Eastern Connection',           'Zaanse koeken',         0, 9.5,    '2003-07-23', NULL,                  'Cancelled'),
  (20, 'Ernst Handel',                 'Røgede sild',          17, 9.5,    '2003-07-24', '2003-07-28 00:00:00', NULL);
